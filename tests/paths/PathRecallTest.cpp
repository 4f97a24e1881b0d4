#include "paths/PathRecall.h"

#include "TreeTestSupport.h"
#include "platform/QtInteraction.h"
#include "support/RealDialogs.h"
#include "support/ScriptedInteraction.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::FillWindowsMachine;
using test::ScriptedInteraction;
using test::TreeRig;

QString Question(const QString& path, const QString& recalled) {
    return "You are trying to recall path '" + path +
           "', which could not be located on your computer. The path that has been recalled so far, is '" +
           recalled +
           "'.\r\n\r\nIf the full path refers to a removable or network disk, make the necessary "
           "arrangements NOW and click 'OK' to recall the full path, or click 'Cancel' to maintain as "
           "current, the path that has been recalled so far.\r\n\r\nCAUTION: If you have instructed this "
           "application to distinguish between upper and lower case letters in item names, make certain "
           "that the operating system which hosts this application, ALSO distinguishes between upper and "
           "lower case letters in item names.";
}

QString Final(const QString& path, const QString& recalled) {
    return "Path '" + path + "', could not be recalled after all. The path that has been recalled, is '" +
           recalled + "'.";
}

class Recall : public ::testing::Test {
protected:
    void SetUp() override { FillWindowsMachine(rig.fake); }

    TreeRig rig;
    ScriptedInteraction ui;
};

// On the real desktop: the real message boxes, answered by mouse or key.
TEST_F(Recall, PartlyMissingPathAsksOnceAndKeepsThePartFound) {
    using test::RealDialogs;
    enum class Then { Cancel, OkStillMissing, OkAfterCreating };
    struct Case {
        const char* name;
        bool caseSensitive;
        QString path;
        Then then;
        QString recalled;
        QString finalCurrent;
    } cases[] = {
        {"cancel keeps the part", false, "C:\\WINDOWS\\NOSUCH", Then::Cancel, "C:\\WINDOWS", "C:\\WINDOWS"},
        {"ok, still missing", false, "C:\\WINDOWS\\NOSUCH", Then::OkStillMissing, "C:\\WINDOWS",
         "C:\\WINDOWS"},
        {"ok after creating it", false, "C:\\WINDOWS\\NOSUCH", Then::OkAfterCreating, "C:\\WINDOWS",
         "C:\\WINDOWS\\NOSUCH"},
        {"default initial path", true, "c:\\", Then::OkStillMissing, "c:", "c:"},
    };
    QtInteraction desktop;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TreeRig local;
        FillWindowsMachine(local.fake);
        local.Make(c.caseSensitive);
        RealDialogs boxes;
        if (c.then == Then::Cancel)
            boxes.then(RealDialogs::Click(QMessageBox::Cancel));
        else if (c.then == Then::OkStillMissing)
            boxes.then(RealDialogs::Key(Qt::Key_Return)).then(RealDialogs::Click(QMessageBox::Ok));
        else // the missing folder appears while the question is open
            boxes.then(RealDialogs::Click(QMessageBox::Ok, [&] { local.fake.add(c.path); }));

        PathRecall(*local.manager, desktop, Language{}, nullptr).recall(c.path);

        const bool finalMessage = c.then == Then::OkStillMissing;
        ASSERT_EQ(boxes.seen.size(), finalMessage ? 2u : 1u);
        const test::SeenBox& q = boxes.seen[0];
        EXPECT_EQ(q.text, Question(c.path, c.recalled).replace("\r\n", "\n"));
        EXPECT_EQ(q.title, "Recall path");
        EXPECT_EQ(q.icon, QMessageBox::Question);
        EXPECT_EQ(q.buttons, QStringList({"OK", "Cancel"}));
        EXPECT_EQ(q.defaultButton, "OK");
        if (finalMessage) {
            const test::SeenBox& f = boxes.seen[1];
            EXPECT_EQ(f.text, Final(c.path, c.recalled));
            EXPECT_EQ(f.title, "Recall path");
            EXPECT_EQ(f.icon, QMessageBox::Information);
            EXPECT_EQ(f.buttons, QStringList{"OK"});
        }
        EXPECT_EQ(local.manager->currentPath(), c.finalCurrent);
    }
}

#ifndef Q_OS_WIN

TEST_F(Recall, UpOneLevelOnThePosixRoot) {
    struct Case {
        QString from;
        QString to;
        bool rootMessage;
    } cases[] = {
        {"/usr/share", "/usr", false},
        {"/usr", "/", false},
        {"/", "/", true},
        {"", "/", true}, // nothing selected stands for the root
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from.toStdString());
        ScriptedInteraction asked;
        FolderTree& m = rig.Make(true, true);
        ASSERT_TRUE(m.selectPath(c.from.isEmpty() ? "/" : c.from));
        if (c.from.isEmpty())
            rig.tvwControl.clearSelection();
        if (c.rootMessage)
            asked.answer(MsgButton::Ok);
        PathRecall(m, asked, Language{}, nullptr).upOneLevel();
        EXPECT_EQ(m.currentPath(), c.to);
        ASSERT_EQ(asked.messages.size(), c.rootMessage ? 1u : 0u);
        if (c.rootMessage) {
            EXPECT_EQ(asked.messages[0].request.text, "You are already on the root directory of the current "
                                                      "drive and as a result, you cannot go up any further.");
            EXPECT_EQ(asked.messages[0].request.icon, MsgIcon::Critical);
        }
    }
}

TEST_F(Recall, RefreshKeepsTheSelectionAndShowsFoldersCreatedMeanwhile) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString root = QDir(tmp.path()).canonicalPath();
    ASSERT_TRUE(QDir(root).mkpath("here"));
    FolderTree& m = rig.Make(true, true);
    PathRecall(m, ui, Language{}, nullptr).recall(root + "/here"); // found in full: no message
    ASSERT_EQ(m.currentPath(), root + "/here");

    ASSERT_TRUE(QDir(root).mkpath("new/deeper"));
    EXPECT_FALSE(rig.Node(root + "/new/")) << "a folder made after its parent was read waits for a rebuild";

    PathRecall(m, ui, Language{}, nullptr).refresh();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(m.currentPath(), root + "/here");
    ASSERT_TRUE(rig.Node(root + "/new/"));
    EXPECT_EQ(rig.Texts(rig.Node(root + "/new/")), QStringList{"deeper"});
}

#endif

} // namespace
} // namespace vesmarin
