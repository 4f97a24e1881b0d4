#pragma once

// The settings file "Tembrill.ini" (beside the program, or where FileLocations.h says): its sections and
// keys, and the two ways a setting is read (a number through a 5-character buffer, a text through a
// 1024-character one).

#include <QString>

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
inline constexpr int TextBuffer = 1024; // so at most 1023 characters of a stored text are seen

// A numeric setting: the stored text (or the decimal text of `defaultNumber` when missing), cut to
// NumericBuffer - 1 characters, read by the number-prefix rule.
double ReadNumber(const QString& file, const QString& section, const QString& key, int defaultNumber);

// A text setting: the stored text cut to TextBuffer - 1 characters and to the text before a NUL, or empty.
QString ReadText(const QString& file, const QString& section, const QString& key);

// Writes one key at once. A failure is deliberately not reported: the caller keeps the value in memory.
void Write(const QString& file, const QString& section, const QString& key, const QString& value);
void Write(const QString& file, const QString& section, const QString& key, int value);

} // namespace vesmarin::settings
