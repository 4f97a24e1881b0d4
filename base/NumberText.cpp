#include "base/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace vesmarin {

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int DigitValue(QChar c, int base) {
    int v = -1;
    if (IsDigit(c))
        v = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        v = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        v = c.unicode() - u'A' + 10;
    return v < base ? v : -1;
}

struct Scan {
    double value = 0;
    qsizetype end = 0; // first character not used
    bool anyDigit = false;
};

// Reads &H / &O whole numbers from `pos`, which points at '&'.
std::optional<Scan> ScanRadix(const QString& s, qsizetype pos) {
    if (pos + 1 >= s.size())
        return std::nullopt;
    const QChar kind = s[pos + 1].toUpper();
    const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
    if (base == 0)
        return std::nullopt;
    Scan r;
    r.end = pos + 2;
    for (int d; r.end < s.size() && (d = DigitValue(s[r.end], base)) >= 0; ++r.end) {
        r.value = r.value * base + d;
        r.anyDigit = true;
    }
    return r;
}

// Reads an optional sign, digits with at most one point and an optional exponent from `pos`.
Scan ScanDecimal(const QString& s, qsizetype pos) {
    std::string text; // the characters used, without the sign, for a correctly rounded conversion
    qsizetype i = pos;
    bool anyDigit = false;
    bool negative = false;
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        negative = s[i++] == u'-';
    for (; i < s.size() && IsDigit(s[i]); ++i, anyDigit = true)
        text += static_cast<char>(s[i].unicode());
    if (i < s.size() && s[i] == u'.') {
        text += '.';
        for (++i; i < s.size() && IsDigit(s[i]); ++i, anyDigit = true)
            text += static_cast<char>(s[i].unicode());
    }
    if (anyDigit && i < s.size() && (s[i] == u'E' || s[i] == u'e')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent += static_cast<char>(s[j++].unicode());
        const qsizetype firstDigit = j;
        for (; j < s.size() && IsDigit(s[j]); ++j)
            exponent += static_cast<char>(s[j].unicode());
        if (j > firstDigit) {
            text += exponent;
            negativeExponent = exponent[1] == '-';
            i = j;
        }
    }
    Scan r;
    r.end = i;
    r.anyDigit = anyDigit;
    if (anyDigit) {
        // from_chars, unlike strtod, ignores the user's locale and its decimal comma.
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), r.value);
        (void)ptr;
        if (ec == std::errc::result_out_of_range)
            r.value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
        if (negative)
            r.value = -r.value;
    }
    return r;
}

QString WithoutBlanks(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n')
            s += c;
    return s;
}

Scan ScanNumber(const QString& s) {
    if (s.startsWith(u'&')) {
        if (auto r = ScanRadix(s, 0))
            return *r;
        return Scan{};
    }
    return ScanDecimal(s, 0);
}

} // namespace

double NumberPrefix(const QString& text) {
    return ScanNumber(WithoutBlanks(text)).value;
}

QString DescriptionOf(ConversionError error) {
    switch (error) {
    case ConversionError::Overflow:
        return QStringLiteral("Overflow");
    case ConversionError::TypeMismatch:
        return QStringLiteral("Type mismatch");
    }
    return QString();
}

std::variant<std::int16_t, ConversionError> RoundToInteger16(double value) {
    if (std::isnan(value))
        return ConversionError::Overflow;
    const double rounded = std::nearbyint(value); // the default rounding mode sends halves to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return ConversionError::Overflow;
    return static_cast<std::int16_t>(rounded);
}

std::variant<std::int16_t, ConversionError> ToInteger16(const QString& text) {
    const QString s = text.trimmed();
    const Scan r = ScanNumber(s);
    if (!r.anyDigit || r.end != s.size())
        return ConversionError::TypeMismatch;
    return RoundToInteger16(r.value);
}

} // namespace vesmarin
