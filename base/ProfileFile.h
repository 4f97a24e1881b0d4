#pragma once

// A small reader and writer of profile files ("[Section]" lines followed by "key=value" lines), with the
// rules of the Windows profile format:
// - section and key names are found without regard to letter case; the first match counts;
// - lines whose first non-blank character is ';' are comments; blank lines are ignored;
// - blanks around a section name, around a key name and around a value are ignored; a value enclosed in
//   a pair of matching single or double quotation marks loses the marks;
// - a value is cut to the buffer size less one character, as a fixed buffer of that size would hold it.
// Writing replaces the value of an existing key in place, appends a missing key to the end of its section
// and a missing section to the end of the file, and keeps every other line exactly as it was, with the
// file's own kind of line break.
//
// Encodings: UTF-8 (a byte-order mark allowed), keeping bytes that are not UTF-8 as they are; and UTF-16 with
// its byte-order mark, little- or big-endian, as some editors save it, which is read and written back in
// UTF-16. A UTF-16 file that would not come back unit for unit (a lone half of a surrogate pair) is read but
// never written, so encodings are never mixed.
//
// Size: a file is read whole once and searched as bytes; it is kept between calls while its identity
// (device, inode, size, modification time) stays the same, so the reads of start-up cost one read of the
// file however large it is. A file changed too recently for a later change to be told apart by its time is
// read again at every call. A write that would not change a byte writes nothing.

#include <QString>

namespace vesmarin {

// The value stored under `section`/`key` of `file`, or `defaultValue` when the file, the section or the
// key is missing; either one cut to `bufferSize` - 1 characters (nothing when `bufferSize` is below 1).
QString GetProfileString(const QString& section, const QString& key, const QString& defaultValue,
                         int bufferSize, const QString& file);

// Stores `value` under `section`/`key` of `file`, creating the file, the section and the key when they are
// missing. The new content replaces the file through ReplaceFileContent (paths/FileIO.h), so an interrupted
// or failed write (a full disk among others) leaves the old file whole, a file made read-only is not
// changed, and a link keeps working. Returns false when nothing could be written; a value holding a line
// break cannot be stored in a line of the file and is refused the same way.
bool WriteProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& file);

} // namespace vesmarin
