#pragma once

// The text handling of folder paths. Every comparison, lookup and stored path goes through these four
// procedures, so their behaviour at the edges (empty text, a separator already there, a drive root)
// decides how the tree, path recall and the saved paths behave.
//
// Two forms of one folder are used throughout the program:
// - display form: no trailing separator, names in the case the file system reports (C:\Program Files,
//   /home/ann); a drive root is C: on Windows and "/" on POSIX;
// - key form: AppendSeparator, then ApplyCaseRule of the display form (C:\PROGRAM FILES\, /home/ann/).

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

namespace vesmarin {

#ifdef Q_OS_WIN
inline constexpr QChar kPathSeparator = u'\\';
#else
inline constexpr QChar kPathSeparator = u'/';
#endif

// With the case rule in force (caseSensitive false) the text in upper case, by the full Unicode mapping
// (Greek and every other script, "ß" becoming "SS"); otherwise the text unchanged.
QString ApplyCaseRule(const QString& text, bool caseSensitive);

// The path with `separator` appended, unless it already ends with it. The empty text gives the separator.
QString AppendSeparator(const QString& path, QChar separator = kPathSeparator);

// The path without its last character when that is `separator`; at most one character is removed.
QString RemoveSeparator(const QString& path, QChar separator = kPathSeparator);

// The text after the last `separator`; empty when there is none or the path ends with it.
QString GetLastSegment(const QString& path, QChar separator = kPathSeparator);

// Names on a POSIX file system are bytes and need not be valid UTF-8 (a folder copied from an old Latin-1
// disk, say). These two convert without loss, so such a folder can be shown, browsed, saved and recalled:
// valid UTF-8 decodes as usual, and every byte that is not part of valid UTF-8 becomes the lone surrogate
// U+DC00 + byte, which no decoded text ever holds. FileNameToBytes turns those back into their bytes (any
// other lone surrogate becomes U+FFFD), so FileNameToBytes(FileNameFromBytes(b)) == b for every b.
QString FileNameFromBytes(QByteArrayView bytes);
QByteArray FileNameToBytes(QStringView name);

// The folder a command-line argument names, in display form, on a POSIX file system: taken from
// `workingFolder` unless it starts with "/", with repeated separators and "." and ".." segments resolved in
// the text alone, as a shell's cd does (the disk is not asked, so a missing folder stays as named and goes
// through path recall). Names keep their bytes through FileNameFromBytes. The empty argument names no
// folder and gives the empty text.
QString FolderFromArgument(QByteArrayView argument, QByteArrayView workingFolder);

} // namespace vesmarin
