#include "shell/MainForm.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

// The main window started from a program folder whose settings file names an initial path below a
// temporary folder of real subfolders.
class StartUp : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(disk.isValid() && QDir(root).mkpath("Work/Έργα/old/older")); }
    frmMain& Start(const QString& initialPath) {
        return m.loadWith(("[General]\nLanguage=0\nInitialPath=" + initialPath + "\n").toStdString());
    }

    QTemporaryDir disk;
    QString root = QDir(disk.path()).canonicalPath();
    test::MainForm m;
    test::ScriptedInteraction& ui = m.ui;
};

TEST_F(StartUp, OpensAtAnExistingInitialPath) {
    frmMain& f = Start(root + "/Work/Έργα");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(f.lblCurrentPath->text(), root + "/Work/Έργα");
    EXPECT_EQ(f.tvwControl->palette().color(QPalette::Base), QColor(192, 255, 255));
}

// A folder name that looks like markup is shown as it stands, not as bold "old".
TEST_F(StartUp, MarkupLikeFolderNamesAreShownAsTheyStand) {
    ASSERT_TRUE(QDir(root).mkpath("Work/<b>old"));
    frmMain& f = Start(root + "/Work/<b>old");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(f.lblCurrentPath->text(), root + "/Work/<b>old");
    for (const QLabel* label : {f.lblCurrentPath, f.lblInfo})
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
}

TEST_F(StartUp, MissingInitialPathIsQueriedBeforeTheWindowShows) {
    ui.answer(MsgButton::Cancel);
    frmMain& f = Start(root + "/Work/gone");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].request.title, "Recall path");
    EXPECT_TRUE(ui.messages[0].request.text.contains("'" + root + "/Work/gone'"));
    EXPECT_TRUE(ui.messages[0].request.text.contains("'" + root + "/Work'"));
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.lblCurrentPath->text(), root + "/Work");
}

TEST_F(StartUp, TreeEventsAndNavigationButtonsKeepTheLabelCurrent) {
    frmMain& f = Start(root + "/Work");
    QTreeWidgetItem* projects = f.treeView->FindNode(root + "/Work/Έργα/");
    ASSERT_TRUE(projects);

    // Opening a folder by hand reads one level below each of its subfolders.
    ASSERT_FALSE(projects->isExpanded());
    EXPECT_FALSE(f.treeView->FindNode(root + "/Work/Έργα/old/older/"));
    projects->setExpanded(true);
    EXPECT_TRUE(f.treeView->FindNode(root + "/Work/Έργα/old/older/"));

    f.tvwControl->setCurrentItem(projects); // as a click on the folder does
    EXPECT_EQ(f.lblCurrentPath->text(), root + "/Work/Έργα");
    EXPECT_EQ(f.filFile.path, root + "/Work/Έργα/");

    ASSERT_TRUE(QDir(root).mkpath("Work/new"));
    f.cmdRefresh->click();
    EXPECT_EQ(f.lblCurrentPath->text(), root + "/Work/Έργα");
    EXPECT_TRUE(f.treeView->FindNode(root + "/Work/new/"));

    f.cmdUpOneLevel->click();
    EXPECT_EQ(f.lblCurrentPath->text(), root + "/Work");
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace vesmarin
