#pragma once

// The real main window started from a temporary program folder, at an initial path below a temporary
// folder of real subfolders, with the scripted desktop in place of a person.

#include "app/MainWindowRig.h"
#include "base/PathText.h"
#include "savedpaths/RecallPathDialog.h"
#include "support/ScriptedInteraction.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace vesmarin::test {

struct SavedPathsWindowRig {
    QTemporaryDir program, disk;
    QString root = QDir(disk.path()).canonicalPath();
    ScriptedInteraction ui;
    std::unique_ptr<MainWindow> window;

    template <class T = QWidget> T* control(const char* name, int index = -1) const {
        return Control<T>(*window, name, index);
    }

    SavedPathsWindowRig() {
        EXPECT_TRUE(program.isValid() && disk.isValid());
        EXPECT_TRUE(QDir(root).mkpath(QStringLiteral("Work/Έργα")));
    }

    QString work() const { return root + QStringLiteral("/Work"); }
    QString projects() const { return root + QStringLiteral("/Work/Έργα"); }
    QString iniFile() const { return program.filePath(QStringLiteral("Tembrill.ini")); }
    QString savedPaths() const { return program.filePath(QStringLiteral("SavedPaths.txt")); }
    // True when a save left a temporary file of its own beside the recent paths.
    bool TemporaryFileLeft() const {
        return !QDir(program.path())
                    .entryList({QStringLiteral(".SavedPaths.txt.*")}, QDir::Files | QDir::Hidden)
                    .isEmpty();
    }

    // Starts at `initialPath` with the case rule off or on, in English or Greek.
    MainWindow& Start(const QString& initialPath, bool caseSensitive, bool greek = false) {
        Write(iniFile(),
              QStringLiteral("[General]\nLanguage=%1\nInitialPath=%2\n[Options]\nCaseSensitive=%3\n")
                  .arg(greek ? 1 : 0)
                  .arg(initialPath)
                  .arg(caseSensitive ? 1 : 0)
                  .toUtf8());
        window = std::make_unique<MainWindow>(ui, program.path());
        window->load();
        EXPECT_TRUE(ui.messages.empty()) << "start-up asked something";
        return *window;
    }

    // Makes `path` current as a click on its folder does.
    void Select(const QString& path) {
        QTreeWidgetItem* node = window->folderTree().findNode(
            ApplyCaseRule(AppendSeparator(path), window->options().caseSensitive()));
        ASSERT_TRUE(node) << path.toStdString();
        control<QTreeWidget>("tvwControl")->setCurrentItem(node);
        ASSERT_EQ(control<QLabel>("lblCurrentPath")->text(), path);
    }

    static void Write(const QString& file, const QByteArray& bytes) { WriteFile(file, bytes); }
    // The file's bytes, or "<none>" when there is no file.
    static QByteArray Read(const QString& file) { return ReadFile(file); }
};

// Runs `script` on the recall dialog once it is shown modally. Should the script leave it open, it is
// ended without a path, so that a failing test cannot hang.
inline void WhenRecallDialogOpens(std::function<void(RecallPathDialog&)> script, bool& opened) {
    opened = false;
    QTimer::singleShot(0, [script = std::move(script), &opened] {
        auto* d = qobject_cast<RecallPathDialog*>(QApplication::activeModalWidget());
        if (!d) {
            ADD_FAILURE() << "the recall dialog is not open";
            return;
        }
        opened = true;
        script(*d);
        if (d->isVisible()) {
            ADD_FAILURE() << "the script left the recall dialog open";
            d->done(QDialog::Rejected);
        }
    });
}

} // namespace vesmarin::test
