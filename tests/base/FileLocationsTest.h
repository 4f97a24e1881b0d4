#pragma once

// A program's surroundings in a temporary folder, and the user's configuration folder pointed elsewhere.

#include "base/FileLocations.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

namespace vesmarin::test {

// <root>/bin is the program's folder, <root>/share/vesmarin where an installation puts the help files and
// <root>/config/Vesmarin the user's configuration folder for the program (not made beforehand).
struct ProgramLayout {
    QTemporaryDir root;
    ProgramLayout() {
        QDir(root.path()).mkpath(QStringLiteral("bin"));
        QDir(root.path()).mkpath(QStringLiteral("share/vesmarin"));
    }
    QString bin() const { return root.filePath(QStringLiteral("bin")); }
    QString share() const { return root.filePath(QStringLiteral("share/vesmarin")); }
    QString config() const { return root.filePath(QStringLiteral("config/Vesmarin")); }
};

// Points the system's configuration folder (XDG_CONFIG_HOME) at `folder` while it lives.
struct ConfigHome {
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    explicit ConfigHome(const QString& folder) { qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder)); }
    ~ConfigHome() { old.isEmpty() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", old); }
};

} // namespace vesmarin::test
