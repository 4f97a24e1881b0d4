#pragma once

// Where the program's files live. The settings file and the recent-paths file live beside the program, so
// a copy carried on a stick keeps its settings with it. An installed program's folder usually cannot be
// written, and there every setting would be lost without a word; the two files then live in the user's
// configuration folder for this program instead, with the same names and formats. The help files are read
// beside the program, or from where an installation puts them.

#include <QString>
#include <functional>

namespace vesmarin {

// The name the desktop and the user's configuration folder know the program by.
inline const QString ApplicationName = QStringLiteral("Vesmarin");

struct ProgramFiles {
    QString settingsFolder;  // where the next two live; one running program per such folder
    QString iniFile;         // Tembrill.ini
    QString helpFileGreek;   // TembrillGR.hlp
    QString helpFileEnglish; // TembrillUK.hlp
    QString savedPathsFile;  // SavedPaths.txt; a save writes a temporary file of its own beside it
};

// A file beside the program: its folder, the separator and the name, joined as they stand, so a program in
// the root folder gets a doubled separator ("//Tembrill.ini"), which the system reads as one.
QString FileBesideProgram(const QString& programFolder, const QString& name);

// Whether a new file can be created in `folder`, found out by creating and removing one with a unique
// name: permission bits say nothing for root, on read-only mounts or on network file systems, and every
// write of the settings and of the recent paths creates a new file beside the one it replaces.
bool CanCreateFileIn(const QString& folder);

// The user's configuration folder for this program (~/.config/Vesmarin on Linux: the system's
// configuration folder followed by ApplicationName), or empty when the system names none.
QString UserConfigFolder();

// Where an installation puts the files the program reads: ../share/vesmarin from the program's folder.
QString InstalledDataFolder(const QString& programFolder);

// The program's files for a program in `programFolder`. The settings and the recent paths stay beside the
// program when `canCreateFileIn` says it can take files; otherwise they go to `userConfigFolder`, which is
// then created when missing (an empty `userConfigFolder` keeps them beside the program). Each help file is
// taken beside the program when it is there, else from InstalledDataFolder when it is there, else beside
// the program (the help then names the missing file).
ProgramFiles LocateProgramFiles(const QString& programFolder, const QString& userConfigFolder,
                                const std::function<bool(const QString&)>& canCreateFileIn = CanCreateFileIn);

} // namespace vesmarin
