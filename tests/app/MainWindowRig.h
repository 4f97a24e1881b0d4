#pragma once

// The real main window in a temporary program folder, with the scripted desktop in place of a person.

#include "app/MainWindow.h"
#include "support/ScriptedInteraction.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace vesmarin::test {

struct MainForm {
    QTemporaryDir folder;
    ScriptedInteraction ui;
    std::unique_ptr<frmMain> form = std::make_unique<frmMain>(ui, folder.path());

    QString iniFile() const { return folder.filePath(QStringLiteral("Tembrill.ini")); }
    void storeIni(const std::string& content) const {
        WriteFile(iniFile(), QByteArray::fromStdString(content));
    }
    // The settings file as text, or "<none>" when there is none.
    std::string ini() const { return ReadFile(iniFile()).toStdString(); }
    // The value the settings file holds for `key`, or "<missing>".
    std::string iniValue(const std::string& key) const { return IniValue(ini(), key); }

    // Copies the help files from `source` beside the program.
    void copyHelpFiles(const QString& source) const {
        for (const char* name : {"TembrillUK.hlp", "TembrillGR.hlp"})
            QFile::copy(source + u'/' + QLatin1String(name), folder.filePath(QLatin1String(name)));
    }

    // Runs the start-up sequence with an initial path stored, so no start-up message is expected.
    frmMain& loadWith(const std::string& iniContent) {
        storeIni(iniContent);
        form->Load();
        return *form;
    }

    static QString home() { return QDir::toNativeSeparators(QDir::homePath()); }
};

} // namespace vesmarin::test
