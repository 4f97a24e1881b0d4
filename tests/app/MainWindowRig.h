#pragma once

// The real main window in a temporary program folder, with the scripted desktop in place of a person.
// Controls are found by their names, as help and accessibility tools find them. The widgets and test tools
// the window tests use come with it (the toolkit's test tools, menus and timers through RealDialogs.h).

#include "app/MainWindow.h"
#include "app/OptionsPanel.h"
#include "browse/IconBrowser.h"
#include "browse/IconGrid.h"
#include "paths/FolderTree.h"
#include "savedpaths/PathMenus.h"
#include "support/Controls.h"
#include "support/RealDialogs.h"
#include "support/ScriptedInteraction.h"
#include "support/TestFiles.h"
#include "ui/UpDown.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWhatsThis>
#include <QtTest/qtestspontaneevent.h>

namespace vesmarin::test {

// Closes `window` as its frame does: a spontaneous close event, handed over as it comes (the dispatcher
// would clear the flag). True when the window accepts it.
inline bool CloseFromFrame(QWidget& window) {
    QCloseEvent fromFrame;
    QSpontaneKeyEvent::setSpontaneous(&fromFrame);
    static_cast<QObject&>(window).event(&fromFrame);
    return fromFrame.isAccepted();
}

// Asks each control for help as a person does (a right or middle click, the menu key): its topic shows at
// once, without a menu, and `window` stays open. Then Shift+F1 enters What's This mode.
inline void ExpectTopicsOnRequest(ScriptedInteraction& ui, QWidget& window,
                                  const std::vector<std::pair<QWidget*, QString>>& topics) {
    for (const auto& [control, text] : topics)
        for (const Qt::MouseButton mouse : {Qt::RightButton, Qt::MiddleButton, Qt::NoButton}) {
            ui.popups.clear();
            EXPECT_EQ(AskForHelp(control, mouse), "") << control->objectName().toStdString();
            ASSERT_EQ(ui.popups.size(), 1u) << control->objectName().toStdString() << " " << mouse;
            EXPECT_EQ(ui.popups[0].text, text);
        }
    EXPECT_TRUE(window.isVisible());
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

struct MainWindowRig {
    QTemporaryDir folder;
    ScriptedInteraction ui;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(ui, folder.path());

    template <class T = QWidget> T* control(const char* name, int index = -1) const {
        return Control<T>(*window, name, index);
    }

    QString iniFile() const { return folder.filePath(QStringLiteral("Tembrill.ini")); }
    // The settings file as text, or "<none>" when there is none.
    std::string ini() const { return ReadFile(iniFile()).toStdString(); }
    // The value the settings file holds for `key`, or "<missing>".
    std::string iniValue(const std::string& key) const { return IniValue(ini(), key); }

    // The kinds-of-file boxes as the user sees them, each "+" ticked, "!" ticked and fixed, "-" not ticked,
    // "x" not ticked and fixed, then the stored value. The patterns searched must agree with the boxes.
    std::string kindsOfFile() const {
        std::string shown;
        QStringList patterns;
        for (const int i : {0, 1}) {
            const auto* box = control<QCheckBox>("chkWhatToBrowse", i);
            shown += box->text().toStdString() + "-+x!"[box->isChecked() + 2 * !box->isEnabled()] + ' ';
            if (box->isChecked())
                patterns << (i ? OptionsPanel::DllPatterns : OptionsPanel::ExePatterns);
        }
        EXPECT_EQ(window->options().patternList(), patterns.join(u';'));
        return shown + iniValue("WhatToBrowse");
    }

    // Copies the help files from `source` beside the program.
    void copyHelpFiles(const QString& source) const {
        for (const char* name : {"TembrillUK.hlp", "TembrillGR.hlp"})
            QFile::copy(source + u'/' + QLatin1String(name), folder.filePath(QLatin1String(name)));
    }

    // Runs the start-up sequence with the given settings file.
    MainWindow& loadWith(const std::string& iniContent) {
        WriteFile(iniFile(), QByteArray::fromStdString(iniContent));
        window->load();
        return *window;
    }

    static QString home() { return QDir::toNativeSeparators(QDir::homePath()); }
};

} // namespace vesmarin::test
