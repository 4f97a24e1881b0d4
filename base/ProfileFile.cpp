#include "base/ProfileFile.h"

#include "base/FileIO.h"
#include "base/PathText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QStringView>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <optional>

namespace vesmarin {

namespace {

// The file's text is kept as bytes in the form FileNameToBytes gives (UTF-8, with bytes that are not UTF-8
// kept as they are), so a file of any size is read and searched without turning it into lines of text.
using Bytes = QByteArrayView;

enum class Encoding { Utf8, Utf16LE, Utf16BE };

// A settings file as read.
struct Snapshot {
    QString file;
    FileIdentity identity;
    Encoding encoding = Encoding::Utf8;
    bool writable = true; // false: UTF-16 that would not come back unit for unit, so it is left alone
    QByteArray text;      // without the UTF-16 byte-order mark; a UTF-8 one stays part of the first line
    QHash<QString, qsizetype> sections; // the header line found for a section name asked for, or -1
};

// A file is kept between calls only once its last change lies far enough back that a further change must
// give it another modification time: a change within the same tick of the file system's clock would
// otherwise go unseen. File systems that keep fractions of a second tick every few milliseconds at most;
// those that keep whole seconds (FAT keeps even seconds) need a few seconds.
constexpr std::int64_t kSettledNs = 100'000'000;
constexpr std::int64_t kSettledWholeSecondsNs = 3'000'000'000;

bool Settled(const FileIdentity& id, std::int64_t readAt) {
    const bool wholeSeconds = id.modifiedNs % 1'000'000'000 == 0;
    return id.modifiedNs + (wholeSeconds ? kSettledWholeSecondsNs : kSettledNs) < readAt;
}

std::mutex gCacheMutex;
std::optional<Snapshot> gCache; // the last file read, while it stays as it was

// --- Bytes -----------------------------------------------------------------------------------------------

// Blanks are spaces and tabs; a byte-order mark, which some editors put before the first line, counts as
// one as well.
qsizetype BlankAt(Bytes s, qsizetype i) {
    const char c = s[i];
    if (c == ' ' || c == '\t')
        return 1;
    if (c == '\xEF' && i + 2 < s.size() && s[i + 1] == '\xBB' && s[i + 2] == '\xBF')
        return 3;
    return 0;
}

Bytes TrimFront(Bytes s) {
    qsizetype b = 0;
    while (b < s.size()) {
        const qsizetype n = BlankAt(s, b);
        if (n == 0)
            break;
        b += n;
    }
    return s.sliced(b);
}

Bytes Trim(Bytes s) {
    s = TrimFront(s);
    for (;;) {
        if (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
            s.chop(1);
        else if (s.endsWith("\xEF\xBB\xBF"))
            s.chop(3);
        else
            return s;
    }
}

// One line of the text: its characters [start, end) and its line break [end, next), which is empty only
// for a last line without one.
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

qsizetype Find(Bytes t, char c, qsizetype from) {
    if (from >= t.size())
        return t.size();
    const void* at = std::memchr(t.data() + from, c, static_cast<std::size_t>(t.size() - from));
    return at == nullptr ? t.size() : static_cast<const char*>(at) - t.data();
}

qsizetype BreakEnd(Bytes t, qsizetype end) {
    if (end >= t.size())
        return end;
    return t[end] == '\r' && end + 1 < t.size() && t[end + 1] == '\n' ? end + 2 : end + 1;
}

// The lines of the text from a line start on, found with memchr: a huge file is walked at the speed of
// memory, not of a loop over its bytes.
class Lines {
public:
    Lines(Bytes t, qsizetype from) : t_(t), pos_(from) {}

    bool next(Line& line) {
        if (pos_ >= t_.size())
            return false;
        if (lf_ < pos_)
            lf_ = Find(t_, '\n', pos_);
        if (cr_ < pos_)
            cr_ = Find(t_, '\r', pos_);
        const qsizetype end = std::min(lf_, cr_);
        line = {pos_, end, BreakEnd(t_, end)};
        pos_ = line.next;
        return true;
    }

private:
    Bytes t_;
    qsizetype pos_;
    qsizetype lf_ = -1; // the next "\n" and "\r" at or after pos_, or the end
    qsizetype cr_ = -1;
};

Bytes TextOf(Bytes t, const Line& l) {
    return t.sliced(l.start, l.end - l.start);
}

// The name of a section header line ("[ name ]" gives "name"), or nothing for any other line.
std::optional<Bytes> SectionName(Bytes line) {
    const Bytes t = Trim(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    qsizetype close = t.indexOf(']');
    if (close < 0)
        close = t.size();
    return Trim(t.sliced(1, close - 1));
}

// A section or key name as asked for, ready to be compared without regard to letter case.
struct Name {
    explicit Name(const QString& s) : text(s), bytes(FileNameToBytes(s)) {
        ascii = std::all_of(bytes.begin(), bytes.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    }
    QString text;
    QByteArray bytes;
    bool ascii = false;
};

bool SameName(Bytes stored, const Name& wanted) {
    const bool storedAscii = std::all_of(stored.begin(), stored.end(),
                                         [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (wanted.ascii && storedAscii)
        return stored.size() == wanted.bytes.size() &&
               qstrnicmp(stored.data(), stored.size(), wanted.bytes.data(), wanted.bytes.size()) == 0;
    return FileNameFromBytes(stored).compare(wanted.text, Qt::CaseInsensitive) == 0;
}

// The start of the header line of the first section called `section`, or -1. Only lines whose first
// non-blank character is "[" can be headers, so the search goes from one "[" to the next.
qsizetype FindSection(Snapshot& s, const Name& section) {
    if (const auto known = s.sections.constFind(section.text); known != s.sections.cend())
        return *known;
    const Bytes t = s.text;
    qsizetype found = -1;
    for (qsizetype at = Find(t, '[', 0); at < t.size(); at = Find(t, '[', at + 1)) {
        qsizetype start = at;
        while (start > 0 && t[start - 1] != '\n' && t[start - 1] != '\r')
            --start;
        if (!TrimFront(t.sliced(start, at - start)).empty())
            continue; // a "[" within a line
        Line l;
        Lines(t, start).next(l);
        if (const auto name = SectionName(TextOf(t, l)); name && SameName(*name, section)) {
            found = start;
            break;
        }
        at = l.end;
    }
    s.sections.insert(section.text, found);
    return found;
}

// The section whose header starts at `header`: the line holding `key` when there is one, and its last line
// that is not blank.
struct SectionLines {
    std::optional<Line> key;
    Line lastNonBlank;
};

SectionLines FindKey(Bytes t, qsizetype header, const Name& key) {
    SectionLines found;
    Lines lines(t, header);
    Line l;
    lines.next(l);
    found.lastNonBlank = l;
    while (lines.next(l)) {
        const Bytes text = TextOf(t, l);
        const Bytes trimmed = TrimFront(text);
        if (trimmed.empty())
            continue;
        if (trimmed.front() == '[' && SectionName(text))
            break;
        found.lastNonBlank = l;
        if (trimmed.front() == ';')
            continue; // a comment
        const qsizetype eq = text.indexOf('=');
        if (eq >= 0 && SameName(Trim(text.first(eq)), key)) {
            found.key = l;
            break;
        }
    }
    return found;
}

QString ValueOf(Bytes line) {
    Bytes v = Trim(line.sliced(line.indexOf('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return FileNameFromBytes(v);
}

// --- Text and encodings ----------------------------------------------------------------------------------

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\uFEFF';
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

bool HasLineBreak(const QString& s) {
    return s.contains(u'\n') || s.contains(u'\r');
}

QString FromUtf16(Bytes units, Encoding encoding) {
    QString s(units.size() / 2, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(s.data());
    for (qsizetype i = 0; i < s.size(); ++i)
        out[i] = encoding == Encoding::Utf16LE ? qFromLittleEndian<char16_t>(units.data() + 2 * i)
                                               : qFromBigEndian<char16_t>(units.data() + 2 * i);
    return s;
}

QByteArray ToUtf16(QStringView s, Encoding encoding) {
    QByteArray bytes(s.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (encoding == Encoding::Utf16LE)
            qToLittleEndian<char16_t>(s[i].unicode(), bytes.data() + 2 * i);
        else
            qToBigEndian<char16_t>(s[i].unicode(), bytes.data() + 2 * i);
    }
    return bytes;
}

// The bytes of the text as the file stores it.
QByteArray Encode(Bytes text, Encoding encoding) {
    if (encoding == Encoding::Utf8)
        return text.toByteArray();
    return ToUtf16(FileNameFromBytes(text), encoding);
}

Snapshot FromBytes(const QString& file, const FileContent& content) {
    Snapshot s;
    s.file = file;
    s.identity = content.identity;
    const QByteArray& raw = content.bytes;
    // Some editors save UTF-16 with its byte-order mark; it is read, and written back, as UTF-16.
    if (raw.startsWith("\xFF\xFE") || raw.startsWith("\xFE\xFF")) {
        s.encoding = raw[0] == '\xFF' ? Encoding::Utf16LE : Encoding::Utf16BE;
        const Bytes units = Bytes(raw).sliced(2);
        s.text = FileNameToBytes(FromUtf16(units, s.encoding));
        s.writable = units.size() % 2 == 0 && Encode(s.text, s.encoding) == units;
    } else {
        s.text = raw;
    }
    return s;
}

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The file's content: the cached snapshot while the file is as it was then, otherwise `fresh`, read now
// (and cached when the file had settled). Null when the file could not be read, with error the errno of the
// failure (ENOENT for a missing file, EINVAL for a FIFO or device). Call with gCacheMutex held.
Snapshot* CurrentSnapshot(const QString& file, Snapshot& fresh, int& error) {
    error = 0;
    if (gCache && gCache->file == file) {
        FileIdentity now;
        if (IdentityOfFile(file, now) == 0 && now == gCache->identity)
            return &*gCache;
    }
    gCache.reset();
    const std::int64_t readAt = NowNs();
    const FileContent content = ReadRegularFile(file);
    if (content.error != 0) {
        error = content.error;
        return nullptr;
    }
    fresh = FromBytes(file, content);
    if (!Settled(content.identity, readAt))
        return &fresh; // used for this call only
    gCache = std::move(fresh);
    return &*gCache;
}

QByteArray FirstLineBreak(Bytes t) {
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == '\n')
            return "\n";
        if (t[i] == '\r')
            return i + 1 < t.size() && t[i + 1] == '\n' ? "\r\n" : "\r";
    }
#ifdef Q_OS_WIN
    return "\r\n";
#else
    return "\n";
#endif
}

// A write: the old text cut in two at one place, with the new bytes between.
struct Edit {
    qsizetype cutFrom;
    qsizetype cutTo;
    QByteArray insert;
};

// A section missing from the file goes to its end, after a blank line, with the key as its one line.
Edit NewSection(Bytes t, const QByteArray& eol, const QString& section, const QByteArray& keyLine) {
    Edit edit{t.size(), t.size(), {}};
    if (!t.empty()) {
        qsizetype e = t.size();
        if (t[e - 1] == '\n')
            e -= (e >= 2 && t[e - 2] == '\r') ? 2 : 1;
        else if (t[e - 1] == '\r')
            --e;
        qsizetype b = e;
        while (b > 0 && t[b - 1] != '\n' && t[b - 1] != '\r')
            --b;
        if (e == t.size())
            edit.insert += eol; // the last line gets its line break
        if (!Trim(t.sliced(b, e - b)).empty())
            edit.insert += eol; // and a blank line before the new section
    }
    edit.insert += '[' + FileNameToBytes(section) + ']' + eol + keyLine + eol;
    return edit;
}

// A key the section holds keeps its spelling and the blanks around "="; only the value is replaced.
Edit NewValue(Bytes t, const Line& l, const QString& value) {
    qsizetype valueStart = l.start + TextOf(t, l).indexOf('=') + 1;
    while (valueStart < l.end && BlankAt(t, valueStart) > 0)
        valueStart += BlankAt(t, valueStart);
    return {valueStart, l.end, FileNameToBytes(StoredForm(value))};
}

// A new key goes after the last non-blank line of its section.
Edit NewKey(const Line& last, const QByteArray& eol, const QByteArray& keyLine) {
    Edit edit{last.next, last.next, {}};
    if (last.next == last.end)
        edit.insert += eol;
    edit.insert += keyLine + eol;
    return edit;
}

// Writes the edited text in the file's own encoding; 0, or the errno of the failure.
int WriteEdited(const QString& file, const Snapshot& s, const Edit& edit) {
    const Bytes t = s.text;
    if (s.encoding == Encoding::Utf8)
        return ReplaceFileContent(file, {t.first(edit.cutFrom), edit.insert, t.sliced(edit.cutTo)});
    const QByteArray mark = s.encoding == Encoding::Utf16LE ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    const QByteArray head = Encode(t.first(edit.cutFrom), s.encoding);
    const QByteArray middle = Encode(edit.insert, s.encoding);
    const QByteArray tail = Encode(t.sliced(edit.cutTo), s.encoding);
    return ReplaceFileContent(file, {mark, head, middle, tail});
}

} // namespace

QString GetProfileString(const QString& section, const QString& key, const QString& defaultValue,
                         int bufferSize, const QString& file) {
    std::lock_guard lock(gCacheMutex);
    int error = 0;
    Snapshot fresh;
    if (Snapshot* s = CurrentSnapshot(file, fresh, error)) {
        const qsizetype header = FindSection(*s, Name(section));
        if (header >= 0) {
            const SectionLines lines = FindKey(s->text, header, Name(key));
            if (lines.key)
                return CutToBuffer(ValueOf(TextOf(s->text, *lines.key)), bufferSize);
        }
    }
    return CutToBuffer(defaultValue, bufferSize);
}

bool WriteProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& file) {
    if (HasLineBreak(section) || section.contains(u']') || HasLineBreak(key) || key.contains(u'=') ||
        Trim(FileNameToBytes(key)).isEmpty() || HasLineBreak(value))
        return false;

    std::lock_guard lock(gCacheMutex);
    int error = 0;
    Snapshot fresh;
    Snapshot* s = CurrentSnapshot(file, fresh, error);
    if (s == nullptr) {
        if (error != ENOENT)
            return false; // never replace a file that could not be read
        fresh.file = file;
        s = &fresh;
    }
    if (!s->writable)
        return false;

    const Bytes t = s->text;
    const QByteArray eol = FirstLineBreak(t);
    const QByteArray keyLine = FileNameToBytes(key + u'=' + StoredForm(value));
    Edit edit;
    const qsizetype header = FindSection(*s, Name(section));
    if (header < 0) {
        edit = NewSection(t, eol, section, keyLine);
    } else if (const SectionLines lines = FindKey(t, header, Name(key)); lines.key) {
        edit = NewValue(t, *lines.key, value);
        if (t.sliced(edit.cutFrom, edit.cutTo - edit.cutFrom) == edit.insert)
            return true; // the file already says so: rewriting it would not change a byte
    } else {
        edit = NewKey(lines.lastNonBlank, eol, keyLine);
    }
    error = WriteEdited(file, *s, edit);
    // The file has changed: the next call reads it again.
    gCache.reset();
    return error == 0;
}

} // namespace vesmarin
