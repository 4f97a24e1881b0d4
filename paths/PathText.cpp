#include "paths/PathText.h"

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

void AppendUtf8(QByteArray& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

} // namespace

QString FileNameFromBytes(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            out += QChar(char16_t(b));
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
            out += QChar(char16_t(kEscapeBase + b));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out += QChar(QChar::highSurrogate(cp));
            out += QChar(QChar::lowSurrogate(cp));
        } else {
            out += QChar(char16_t(cp));
        }
        i += length;
    }
    return out;
}

QByteArray FileNameToBytes(QStringView name) {
    QByteArray out;
    out.reserve(name.size());
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(name[i + 1].unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, name[i + 1].unicode()));
            ++i;
        } else if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out += char(c - kEscapeBase);
        } else if (QChar::isSurrogate(c)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, c);
        }
    }
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
