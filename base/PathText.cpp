#include "base/PathText.h"

#include <QList>

namespace vesmarin {

QString ApplyCaseRule(const QString& text, bool caseSensitive) {
    return caseSensitive ? text : text.toUpper();
}

QString AppendSeparator(const QString& path, QChar separator) {
    if (path.endsWith(separator))
        return path;
    return path + separator;
}

QString RemoveSeparator(const QString& path, QChar separator) {
    if (path.endsWith(separator))
        return path.left(path.size() - 1);
    return path;
}

QString GetLastSegment(const QString& path, QChar separator) {
    const qsizetype at = path.lastIndexOf(separator);
    if (at < 0)
        return {};
    return path.mid(at + 1);
}

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // U+DC80..U+DCFF stand for the bytes 0x80..0xFF

// Writes the UTF-8 form of cp at o and returns the position after it.
char* PutUtf8(char* o, char32_t cp) {
    if (cp < 0x80) {
        *o++ = char(cp);
    } else if (cp < 0x800) {
        *o++ = char(0xC0 | (cp >> 6));
        *o++ = char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *o++ = char(0xE0 | (cp >> 12));
        *o++ = char(0x80 | ((cp >> 6) & 0x3F));
        *o++ = char(0x80 | (cp & 0x3F));
    } else {
        *o++ = char(0xF0 | (cp >> 18));
        *o++ = char(0x80 | ((cp >> 12) & 0x3F));
        *o++ = char(0x80 | ((cp >> 6) & 0x3F));
        *o++ = char(0x80 | (cp & 0x3F));
    }
    return o;
}

} // namespace

// Both conversions write into a buffer of the largest size the result can take and cut it afterwards: a
// file of a hundred megabytes converts at the speed of memory, not of one append per character.
QString FileNameFromBytes(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString out(n, Qt::Uninitialized); // never more units than bytes
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    qsizetype used = 0;
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            o[used++] = b;
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        char32_t smallest = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2, cp = b & 0x1F, smallest = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3, cp = b & 0x0F, smallest = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4, cp = b & 0x07, smallest = 0x10000;
        }
        bool valid = length > 0 && i + length <= n;
        for (int k = 1; valid && k < length; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, encoded surrogates and values past U+10FFFF are not valid UTF-8 either.
        valid = valid && cp >= smallest && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (!valid) {
            o[used++] = char16_t(kEscapeBase + b);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            o[used++] = QChar::highSurrogate(cp);
            o[used++] = QChar::lowSurrogate(cp);
        } else {
            o[used++] = char16_t(cp);
        }
        i += length;
    }
    out.truncate(used);
    return out;
}

QByteArray FileNameToBytes(QStringView name) {
    const qsizetype n = name.size();
    QByteArray out(n * 3, Qt::Uninitialized); // a unit takes at most three bytes, a pair four
    char* const start = out.data();
    char* o = start;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = name[i].unicode();
        if (c < 0x80) {
            *o++ = char(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(name[i + 1].unicode())) {
            o = PutUtf8(o, QChar::surrogateToUcs4(c, name[i + 1].unicode()));
            ++i;
        } else if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            *o++ = char(c - kEscapeBase);
        } else if (QChar::isSurrogate(c)) {
            o = PutUtf8(o, 0xFFFD);
        } else {
            o = PutUtf8(o, c);
        }
    }
    out.truncate(o - start);
    return out;
}

QString FolderFromArgument(QByteArrayView argument, QByteArrayView workingFolder) {
    if (argument.isEmpty())
        return {};
    QByteArray path = argument.toByteArray();
    if (!argument.startsWith('/'))
        path = workingFolder.toByteArray() + '/' + path;
    QList<QByteArray> kept;
    for (const QByteArray& segment : path.split('/')) {
        if (segment.isEmpty() || segment == ".")
            continue;
        if (segment == "..") {
            if (!kept.isEmpty()) // the root's parent is the root
                kept.removeLast();
            continue;
        }
        kept.append(segment);
    }
    return FileNameFromBytes('/' + kept.join('/'));
}

} // namespace vesmarin
