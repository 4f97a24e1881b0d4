#pragma once

// The real main window in a temporary program folder, with the scripted desktop in place of a person.

#include "shell/frmMain.h"
#include "support/ScriptedInteraction.h"

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
        QFile f(iniFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content.c_str());
    }

    // The settings file as text, or "<none>" when there is none.
    std::string ini() const {
        QFile f(iniFile());
        if (!f.open(QIODevice::ReadOnly))
            return "<none>";
        return f.readAll().toStdString();
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
