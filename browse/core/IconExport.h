#pragma once

// The texts and files of icon browsing that need no window: the count message, the bitmap file names, the
// extension rule of Save as, the folder taken from the folder dialog, and the atomic bitmap save.

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>

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

} // namespace vesmarin
