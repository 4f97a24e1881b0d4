#include "TreeTestSupport.h"
#include "paths/basPathRecall.h"
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

TEST_F(Recall, PartlyMissingPathAsksOnceAndKeepsThePartFound) {
    struct Case {
        const char* name;
        bool caseSensitive;
        QString path;
        MsgButton answer;
        bool createMeanwhile; // the missing folder appears before OK is pressed
        QString recalled;
        QString finalCurrent;
        bool finalMessage;
    } cases[] = {
        {"cancel keeps the part", false, "C:\\WINDOWS\\NOSUCH", MsgButton::Cancel, false, "C:\\WINDOWS",
         "C:\\WINDOWS", false},
        {"ok, still missing", false, "C:\\WINDOWS\\NOSUCH", MsgButton::Ok, false, "C:\\WINDOWS",
         "C:\\WINDOWS", true},
        {"ok after creating it", false, "C:\\WINDOWS\\NOSUCH", MsgButton::Ok, true, "C:\\WINDOWS",
         "C:\\WINDOWS\\NOSUCH", false},
        {"default initial path", true, "c:\\", MsgButton::Ok, false, "c:", "c:", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedInteraction asked;
        TreeRig local;
        FillWindowsMachine(local.fake);
        local.Make(c.caseSensitive);
        asked.answer(c.answer);
        if (c.answer == MsgButton::Ok && !c.createMeanwhile)
            asked.answer(MsgButton::Ok);
        if (c.createMeanwhile) {
            // The tree has read C:\WINDOWS before the question; the folder appears only afterwards.
            ASSERT_FALSE(local.manager->SelectPath(c.path));
            local.fake.add(c.path);
        }
        RecallPath(c.path, *local.manager, asked, local.state, nullptr);

        ASSERT_GE(asked.messages.size(), 1u);
        const MessageRequest& q = asked.messages[0].request;
        EXPECT_EQ(q.text, Question(c.path, c.recalled));
        EXPECT_EQ(q.title, "Recall path");
        EXPECT_EQ(q.icon, MsgIcon::Question);
        EXPECT_EQ(q.buttons, MsgButtons::OkCancel);
        EXPECT_EQ(q.defaultButton, MsgButton::Ok);
        ASSERT_EQ(asked.messages.size(), c.finalMessage ? 2u : 1u);
        if (c.finalMessage) {
            const MessageRequest& f = asked.messages[1].request;
            EXPECT_EQ(f.text, Final(c.path, c.recalled));
            EXPECT_EQ(f.icon, MsgIcon::Information);
            EXPECT_EQ(f.buttons, MsgButtons::Ok);
        }
        EXPECT_EQ(local.manager->GetCurrentPath(), c.finalCurrent);
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
        basTreeViewManager& m = rig.Make(true, true);
        ASSERT_TRUE(m.SelectPath(c.from.isEmpty() ? "/" : c.from));
        if (c.from.isEmpty())
            rig.tvwControl.clearSelection();
        if (c.rootMessage)
            asked.answer(MsgButton::Ok);
        UpOneLevel(m, asked, rig.state, nullptr);
        EXPECT_EQ(m.GetCurrentPath(), c.to);
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
    basTreeViewManager& m = rig.Make(true, true);
    RecallPath(root + "/here", m, ui, rig.state, nullptr); // found in full: no message
    ASSERT_EQ(m.GetCurrentPath(), root + "/here");

    ASSERT_TRUE(QDir(root).mkpath("new/deeper"));
    EXPECT_FALSE(rig.Node(root + "/new/")) << "a folder made after its parent was read waits for a rebuild";

    RefreshTree(m, ui, rig.state, nullptr);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(m.GetCurrentPath(), root + "/here");
    ASSERT_TRUE(rig.Node(root + "/new/"));
    EXPECT_EQ(rig.Texts(rig.Node(root + "/new/")), QStringList{"deeper"});
}

#endif

} // namespace
} // namespace vesmarin
