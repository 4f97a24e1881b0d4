#include "shell/ProfileFile.h"

#include "paths/FileIO.h"
#include "paths/PathText.h"

#include <QStringView>
#include <cerrno>
#include <optional>
#include <vector>

namespace vesmarin {

namespace {

struct Line {
    QString text; // without its line break
    QString eol;  // "\r\n", "\n", "\r" or empty for a last line without a break
};

// A byte-order mark, which some editors put before the first line, counts as a blank.
bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\uFEFF';
}

QStringView TrimBlanks(QStringView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

bool SameName(QStringView a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::vector<Line> SplitLines(const QString& content) {
    std::vector<Line> lines;
    qsizetype start = 0;
    const qsizetype n = content.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = content[i];
        if (c != u'\n' && c != u'\r')
            continue;
        const qsizetype breakLength = (c == u'\r' && i + 1 < n && content[i + 1] == u'\n') ? 2 : 1;
        lines.push_back({content.mid(start, i - start), content.mid(i, breakLength)});
        i += breakLength - 1;
        start = i + 1;
    }
    if (start < n)
        lines.push_back({content.mid(start), QString()});
    return lines;
}

// The name of a section header line ("[ name ]" gives "name"), or nothing for any other line.
std::optional<QStringView> SectionName(QStringView text) {
    const QStringView t = TrimBlanks(text);
    if (!t.startsWith(u'['))
        return std::nullopt;
    qsizetype close = t.indexOf(u']');
    if (close < 0)
        close = t.size();
    return TrimBlanks(t.sliced(1, close - 1));
}

bool IsComment(QStringView text) {
    return TrimBlanks(text).startsWith(u';');
}

// Index of the first line of the first section called `section`, or -1.
qsizetype FindSection(const std::vector<Line>& lines, const QString& section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].text);
        if (name && SameName(*name, section))
            return static_cast<qsizetype>(i);
    }
    return -1;
}

// Index of the line holding `key` in the section whose header is at `header`, or -1.
qsizetype FindKey(const std::vector<Line>& lines, qsizetype header, const QString& key) {
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines.size(); ++i) {
        const QString& text = lines[i].text;
        if (SectionName(text))
            break;
        if (IsComment(text))
            continue;
        const qsizetype eq = text.indexOf(u'=');
        if (eq >= 0 && SameName(TrimBlanks(QStringView(text).first(eq)), key))
            return static_cast<qsizetype>(i);
    }
    return -1;
}

QString ValueOf(const QString& line) {
    QStringView v = TrimBlanks(QStringView(line).sliced(line.indexOf(u'=') + 1));
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return v.toString();
}

// The stored form of a value: quoted when the reader would otherwise drop its outer blanks or quotes.
QString StoredForm(const QString& value) {
    const bool needsQuotes =
        !value.isEmpty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                             (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                              value.back() == value.front()));
    return needsQuotes ? u'"' + value + u'"' : value;
}

QString CutToBuffer(const QString& s, int bufferSize) {
    if (bufferSize < 1)
        return QString();
    qsizetype keep = bufferSize - 1;
    if (s.size() <= keep)
        return s;
    // Never keep half of a character that needs two UTF-16 units.
    if (keep > 0 && s[keep - 1].isHighSurrogate())
        --keep;
    return s.left(keep);
}

// The file's text, or nothing when it is missing (error ENOENT) or cannot be read. Only a regular file is
// read: opening a FIFO would wait for a writer forever.
std::optional<QString> ReadWholeFile(const QString& file, int& error) {
    const FileContent content = ReadRegularFile(file);
    error = content.error;
    if (error != 0)
        return std::nullopt;
    // Without loss: bytes that are not UTF-8 (a Latin-1 comment, a folder name from an old disk) come back
    // unchanged when the file is written again.
    return FileNameFromBytes(content.bytes);
}

bool HasLineBreak(const QString& s) {
    return s.contains(u'\n') || s.contains(u'\r');
}

} // namespace

QString GetProfileString(const QString& section, const QString& key, const QString& defaultValue,
                         int bufferSize, const QString& file) {
    int error = 0;
    const auto content = ReadWholeFile(file, error);
    if (content) {
        const std::vector<Line> lines = SplitLines(*content);
        const qsizetype header = FindSection(lines, section);
        if (header >= 0) {
            const qsizetype at = FindKey(lines, header, key);
            if (at >= 0)
                return CutToBuffer(ValueOf(lines[static_cast<std::size_t>(at)].text), bufferSize);
        }
    }
    return CutToBuffer(defaultValue, bufferSize);
}

bool WriteProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& file) {
    if (HasLineBreak(section) || section.contains(u']') || HasLineBreak(key) || key.contains(u'=') ||
        TrimBlanks(key).isEmpty() || HasLineBreak(value))
        return false;

    std::vector<Line> lines;
    int error = 0;
    const auto old = ReadWholeFile(file, error);
    if (old)
        lines = SplitLines(*old);
    else if (error != ENOENT)
        return false; // never replace a file that could not be read

#ifdef Q_OS_WIN
    QString eol = QStringLiteral("\r\n");
#else
    QString eol = QStringLiteral("\n");
#endif
    for (const Line& l : lines)
        if (!l.eol.isEmpty()) {
            eol = l.eol; // keep the file's own kind of line break
            break;
        }

    const QString keyLine = key + u'=' + StoredForm(value);
    const qsizetype header = FindSection(lines, section);
    if (header < 0) {
        if (!lines.empty()) {
            if (lines.back().eol.isEmpty())
                lines.back().eol = eol;
            if (!TrimBlanks(lines.back().text).isEmpty())
                lines.push_back({QString(), eol});
        }
        lines.push_back({u'[' + section + u']', eol});
        lines.push_back({keyLine, eol});
    } else if (const qsizetype at = FindKey(lines, header, key); at >= 0) {
        // Keep the key as spelt in the file, and the blanks around "=", and replace only the value.
        Line& line = lines[static_cast<std::size_t>(at)];
        qsizetype valueStart = line.text.indexOf(u'=') + 1;
        while (valueStart < line.text.size() && IsBlank(line.text[valueStart]))
            ++valueStart;
        line.text = line.text.left(valueStart) + StoredForm(value);
    } else {
        // A new key goes after the last non-blank line of its section.
        std::size_t last = static_cast<std::size_t>(header);
        for (std::size_t i = last + 1; i < lines.size() && !SectionName(lines[i].text); ++i)
            if (!TrimBlanks(lines[i].text).isEmpty())
                last = i;
        if (lines[last].eol.isEmpty())
            lines[last].eol = eol;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last) + 1, Line{keyLine, eol});
    }

    QString content;
    for (const Line& l : lines)
        content += l.text + l.eol;

    return ReplaceFileContent(file, {FileNameToBytes(content)}) == 0;
}

} // namespace vesmarin
