#pragma once

// The run-time errors the program reports, and the operations they are reported for.

#include <QString>
#include <cstdint>
#include <stdexcept>

namespace vesmarin {

// A run-time error with a number and a description, as the error report shows them.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// The run-time errors the program raises itself, by the numbers the error report shows.
namespace errors {
inline constexpr int InvalidArgument = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int TypeMismatch = 13;
inline constexpr int Internal = 51;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int ObjectNotSet = 91;
} // namespace errors

// Where an error was caught: every operation a user starts reports its errors with its own three-digit
// code, so a report names the operation that failed. Each code belongs to exactly one operation.
enum class Location : int {
    StartUp = 181,
    EnsureSavedPathsFile = 182,
    SwitchLanguage = 183,
    ChooseKindsOfFile = 184,
    RecallRecentPath = 185,
    OpenRecallDialog = 186,
    LoadSavedPaths = 187,
    EditSavedPaths = 188,
    SaveInitialPath = 189,
    SaveRecentPath = 190,
    OpenAbout = 191,
    ChangeCaseRule = 192,
    End = 193,
    UpOneLevel = 194,
    Refresh = 195,
    ChooseIconFolder = 196,
    ExtractFileIcons = 197,
    Browse = 198,
    CopyIcon = 199,
    SaveIcon = 200,
    SaveIconAs = 201,
    ShowNextSet = 202,
    // The icon menu's additions and the details window.
    SaveIconPng = 203,
    SaveIconIco = 204,
    SaveAllIcons = 205,
    ShowIconDetails = 206,
    SaveImagePng = 207,
    CopyImage = 208,
    SaveGroupIco = 209,
};

// A whole text as a 16-bit integer (halves to even); raises Type mismatch or Overflow otherwise.
std::int16_t ToInteger16OrRaise(const QString& text);

} // namespace vesmarin
