#pragma once

// What the About box shows and does that needs no window: its texts, the version line and the search for
// the system-information tool.

#include <QString>
#include <functional>
#include <optional>

namespace vesmarin {

struct ProgramVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned revision = 0;
};

// The program's own version, from the build's project version.
ProgramVersion CurrentVersion();

// "Version " (Greek "Έκδοση ") and major.minor.revision, each number written with at least four digits,
// zero-padded on the left (11 gives 0011; a number above 9999 is written in full).
QString VersionLine(const ProgramVersion& version, bool greek);

struct AboutTexts {
    QString windowTitle;
    QString title;
    QString description;
    QString disclaimer;
    QString sysInfoCaption;
};

AboutTexts AboutTextsFor(bool greek);

// The two lookups that locate the system-information tool, tried in this order:
// the first gives the tool's full path, which is started as it is; the second gives a folder, and the
// tool's file name joined to it is started only when a file exists there.
struct SysInfoLookups {
    std::function<std::optional<QString>()> firstValue;
    std::function<std::optional<QString>()> secondValue;
    QString toolFileName;
    std::function<bool(const QString& file)> fileExists;
};

// The program to start, or nothing when the unavailable message is to be shown.
std::optional<QString> SysInfoProgram(const SysInfoLookups& lookups);

// What stands in for the two lookups where there is no registry:
// first: the full path of the first of hardinfo2, hardinfo and kinfocenter found on the search path;
// second: the folder /usr/bin, with the tool's file name hardinfo (for a search path that lacks it).
SysInfoLookups PosixSysInfoLookups(std::function<QString(const QString& name)> findExecutable,
                                   std::function<bool(const QString& file)> fileExists);

// The message shown when the tool cannot be found or started.
QString SysInfoUnavailableText(bool greek);
QString SysInfoUnavailableTitle(bool greek);

} // namespace vesmarin
