#pragma once

// The settings file "Tembrill.ini" (beside the program, or where FileLocations.h says): its sections and
// keys, and the two ways a setting is read (a number through a 5-character buffer, a path whole).

#include <QString>
#include <climits>

namespace vesmarin::settings {

inline const QString FileName = QStringLiteral("Tembrill.ini");

inline const QString General = QStringLiteral("General");
inline const QString Language = QStringLiteral("Language");       // "1" Greek, "0" English
inline const QString InitialPath = QStringLiteral("InitialPath"); // a folder in display form

inline const QString Options = QStringLiteral("Options");
inline const QString Levels = QStringLiteral("Levels");               // 0 to 9999, 0 = all levels
inline const QString CaseSensitive = QStringLiteral("CaseSensitive"); // "1" on, "0" off
inline const QString WhatToBrowse = QStringLiteral("WhatToBrowse");   // "1" EXE, "2" DLL, "3" both
inline const QString IconSavePath = QStringLiteral("IconSavePath");   // folder for icons saved without asking

inline constexpr int NumericBuffer = 5; // so at most 4 characters of a stored number are seen

// The longest path the system opens, in bytes of its file name (PATH_MAX less its closing NUL).
#ifdef PATH_MAX
inline constexpr qsizetype PathLimit = PATH_MAX - 1;
#else
inline constexpr qsizetype PathLimit = 32766; // Windows' long paths
#endif

// A numeric setting: the stored text (or the decimal text of `defaultNumber` when missing), cut to
// NumericBuffer - 1 characters, read by the number-prefix rule.
double ReadNumber(const QString& file, const QString& section, const QString& key, int defaultNumber);

// A path setting ("InitialPath", "IconSavePath"): the stored text up to a NUL, or empty. It is read whole:
// a text longer than PathLimit names no folder the system could open, and cutting it could name another
// one, so it is refused (`path` empty, `tooLong` set) and never cut.
struct PathSetting {
    QString path;
    bool tooLong = false;
};
PathSetting ReadPath(const QString& file, const QString& section, const QString& key);

// Why the settings file cannot hold `path` as a path setting (in the words of the error report), or empty
// when it can: longer than PathLimit, or holding a line break, which would end its line of the file.
QString PathSettingProblem(const QString& path);

// Writes a path setting, or raises the run-time error (path/file access) that says why the settings file
// could not take it: so no caller takes a path for stored when it is not.
void WritePath(const QString& file, const QString& section, const QString& key, const QString& path);

// Writes one key at once; false when the file could not be written.
bool Write(const QString& file, const QString& section, const QString& key, const QString& value);
bool Write(const QString& file, const QString& section, const QString& key, int value);

} // namespace vesmarin::settings
