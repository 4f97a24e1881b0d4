#include "base/FileLocations.h"

#include "base/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace vesmarin {

namespace {

const QString HelpGreekName = QStringLiteral("TembrillGR.hlp");
const QString HelpEnglishName = QStringLiteral("TembrillUK.hlp");
const QString SavedPathsName = QStringLiteral("SavedPaths.txt");

QString HelpFile(const QString& programFolder, const QString& name) {
    const QString beside = FileBesideProgram(programFolder, name);
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed = FileBesideProgram(InstalledDataFolder(programFolder), name);
    if (QFileInfo(installed).isFile())
        return installed;
    return beside;
}

} // namespace

QString FileBesideProgram(const QString& programFolder, const QString& name) {
    return QDir::toNativeSeparators(programFolder) + QDir::separator() + name;
}

bool CanCreateFileIn(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    // A hidden name, so that a probe left behind by a power cut stays out of the way.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".vesmarin-probe-XXXXXX")));
    if (!probe.open())
        return false;
    probe.close();
    probe.remove();
    return true;
}

QString UserConfigFolder() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty())
        return {};
    return QDir::toNativeSeparators(config + QLatin1Char('/') + ApplicationName);
}

QString InstalledDataFolder(const QString& programFolder) {
    const QString folder = QDir::cleanPath(programFolder);
    // The folder above the program's; the root folder has none above it and stands for itself.
    const QString above = QDir(folder).isRoot() ? folder : QFileInfo(folder).path();
    return QDir::toNativeSeparators(QDir::cleanPath(above + QStringLiteral("/share/vesmarin")));
}

ProgramFiles LocateProgramFiles(const QString& programFolder, const QString& userConfigFolder,
                                const std::function<bool(const QString&)>& canCreateFileIn) {
    QString settingsFolder = programFolder;
    if (!userConfigFolder.isEmpty() && !canCreateFileIn(programFolder)) {
        settingsFolder = userConfigFolder;
        // Should the folder not be made, the settings fail to be written there, as they would beside a
        // program that cannot be written; nothing better is left.
        QDir().mkpath(userConfigFolder);
    }
    ProgramFiles files;
    files.settingsFolder = QDir::toNativeSeparators(settingsFolder);
    files.iniFile = FileBesideProgram(settingsFolder, settings::FileName);
    files.helpFileGreek = HelpFile(programFolder, HelpGreekName);
    files.helpFileEnglish = HelpFile(programFolder, HelpEnglishName);
    files.savedPathsFile = FileBesideProgram(settingsFolder, SavedPathsName);
    return files;
}

} // namespace vesmarin
