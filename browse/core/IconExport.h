#pragma once

// The texts and files of icon browsing that need no window: the count message, the bitmap file names, the
// extension rule of Save as, the folder taken from the folder dialog, the atomic bitmap save, and the texts
// that tell where an icon comes from and how saving a set went.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace vesmarin {

// "205 icons located." / "Εντοπίσθηκαν 205 εικονίδια." (n is 1 or more).
QString CountMessage(std::int64_t n, bool greek);

// The bitmap file name of cell number n: "I", the number with at least seven digits, ".bmp".
QString IconFileName(std::int32_t n);

// The name chosen in the Save as dialog with the extension rule applied: unchanged when its extension is
// "bmp" in any letter case, with ".bmp" appended when it has none; std::nullopt when it has another one.
std::optional<QString> WithBitmapExtension(const QString& chosen);

// The folder, with its trailing separator, of a file name chosen in the folder dialog.
QString FolderOfChosenFile(const QString& fileName);

// "Pictures (*.bmp)|*.bmp" as the toolkit's dialogs take it: "Pictures (*.bmp)".
QString ToolkitFilter(const QString& filter);

// Writes the picture as a Windows bitmap file through ReplaceFileContent (paths/FileIO.h): the bytes go to a
// temporary file in the same folder that then replaces the target, so a failure (a full disk, a file made
// read-only) never leaves a damaged file and an existing file stays as it was. Raises RunTimeError 76
// (folder missing) or 75 (the file cannot be written).
void SaveBitmapFile(const QImage& picture, const QString& path);

// Raises the run-time error of a write of `path` that failed with `error` (an errno; 0 raises nothing):
// 76 when its folder is missing, 75 otherwise.
void RaiseWriteError(int error, const QString& path);

// Where an icon comes from, as the tooltip and the details window tell it.
struct IconOrigin {
    QString file; // the full path
    int index = 0;
    QString groupName; // a named group's name; empty for a numbered one
    int groupId = -1;  // a numbered group's number; -1 where files have no groups (.ico)
    int language = -1; // the group's language; -1 where files have none (NE, .ico)
};

// The group as the windows name it: "MAINICON" in quotes, its number, or "none" in an .ico file (a group is a
// "resource", πόρος, in Greek, as "set" takes the word for group).
QString GroupText(const IconOrigin& origin, bool greek);
// The tooltip of a cell, three lines: the path; the index, the group and the language; the sizes stored,
// each once, smallest first.
QString IconToolTip(const IconOrigin& origin, std::vector<QSize> sizes, bool greek);
// One image as the details window labels it, the same in both languages: "48 × 48, 32 bpp, PNG".
QString ImageLabel(const QSize& size, int bitCount, bool png);

// What Save all tells at its end: how many of `total` icons were saved in `folder`, and each that was not,
// one line each ("app.exe-3.png: No space left on device").
QString SaveAllMessage(int saved, int total, const QString& folder, const QStringList& failed, bool greek);

} // namespace vesmarin
