#pragma once

// An icon of the set as the windows reach it: where it is stored, where it comes from, the pictures and
// files made of it through the icon reader and writer, and the save dialogs of its PNG and .ico files.

#include "base/Language.h"
#include "browse/core/IconExport.h"
#include "platform/Interaction.h"
#include "platform/iconwriter/IconWriter.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace vesmarin {

// A path as the file system names it, as the windows show it; and a shown path as the file system takes it.
QString DisplayPath(const std::string& path);
std::string FileSystemPath(const QString& path);

// One icon: its file, named as the file system names it, and its index there.
struct IconSource {
    std::string path;
    int index = 0;

    QString file() const { return DisplayPath(path); }
    // The file's name without its folder, the base of the names of the files saved from it.
    std::string fileName() const;
};

// The icon's file, opened; raises the run-time error of a file that can no longer be read.
iconreader::IconFile OpenIconFile(const IconSource& icon);

// Where the icon comes from, read from its file; nullopt when its group cannot be read.
std::optional<IconOrigin> OriginOf(const iconreader::IconFile& file, const IconSource& icon);

// A picture of the reader as the toolkit holds it (straight alpha).
QImage ToImage(const iconreader::Picture& picture);

// The icon as a size x size PNG file with its transparency: its stored bytes when they are just that, else
// the picture encoded. Empty when there is no such icon.
QByteArray IconPng(const iconreader::IconFile& file, int index, int size);

enum class SavedKind { Png, Ico };

// Asks in a save dialog of that kind where to save, opening at `initialPath`, and writes the file there
// through `write`; a write that fails raises its run-time error, Cancel does nothing.
void SaveThroughDialog(Interaction& ui, const Language& language, QWidget* parent, SavedKind kind,
                       const QString& initialPath,
                       const std::function<iconwriter::WriteOutcome(const std::filesystem::path&)>& write);

// Raises the run-time error of an icon file that was not written to `path`; nothing when it was.
void RaiseUnlessWritten(const iconwriter::WriteOutcome& outcome, const QString& path);
// Why an icon file was not written: the system's words for a failed write, or that the icon is damaged or
// too large.
QString WhyNotWritten(const iconwriter::WriteOutcome& outcome, bool greek);

} // namespace vesmarin
