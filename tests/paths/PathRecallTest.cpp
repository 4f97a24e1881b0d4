#include "paths/PathRecall.h"

#include "TreeTestSupport.h"
#include "platform/QtInteraction.h"
#include "support/RealDialogs.h"
#include "support/ScriptedInteraction.h"

#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::RealDialogs;
using test::TreeRig;

// One question tells how much of the path was found: Cancel keeps that part; OK tries once more and, the
// path still missing, says so. On the real desktop, the real message boxes answered by mouse or key.
TEST(Recall, PartlyMissingPathAsksOnceAndKeepsThePartFound) {
    const struct {
        bool caseSensitive;
        QString path;
        bool ok;
        QString recalled;
    } cases[] = {
        {false, "C:\\WINDOWS\\NOSUCH", false, "C:\\WINDOWS"},
        {false, "C:\\WINDOWS\\NOSUCH", true, "C:\\WINDOWS"},
        {true, "c:\\", true, "c:"}, // the default initial path under the case rule
    };
    QtInteraction desktop;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        TreeRig rig;
        rig.Make(c.caseSensitive);
        RealDialogs boxes;
        if (c.ok)
            boxes.then(RealDialogs::Key(Qt::Key_Return)).then(RealDialogs::Click(QMessageBox::Ok));
        else
            boxes.then(RealDialogs::Click(QMessageBox::Cancel));

        PathRecall(*rig.manager, desktop, Language{}, nullptr).recall(c.path);

        ASSERT_EQ(boxes.seen.size(), c.ok ? 2u : 1u);
        const test::SeenBox& q = boxes.seen[0];
        EXPECT_EQ(q.text,
                  "You are trying to recall path '" + c.path +
                      "', which could not be located on your computer. The path that has been recalled "
                      "so far, is '" +
                      c.recalled +
                      "'.\n\nIf the full path refers to a removable or network disk, make the necessary "
                      "arrangements NOW and click 'OK' to recall the full path, or click 'Cancel' to "
                      "maintain as current, the path that has been recalled so far.\n\nCAUTION: If you "
                      "have instructed this application to distinguish between upper and lower case "
                      "letters in item names, make certain that the operating system which hosts this "
                      "application, ALSO distinguishes between upper and lower case letters in item "
                      "names.");
        EXPECT_EQ(q.title, "Recall path");
        EXPECT_EQ(q.icon, QMessageBox::Question);
        EXPECT_EQ(q.buttons, QStringList({"OK", "Cancel"}));
        EXPECT_EQ(q.defaultButton, "OK");
        if (c.ok) {
            const test::SeenBox& f = boxes.seen[1];
            EXPECT_EQ(f.text, "Path '" + c.path +
                                  "', could not be recalled after all. The path that has been "
                                  "recalled, is '" +
                                  c.recalled + "'.");
            EXPECT_EQ(f.icon, QMessageBox::Information);
            EXPECT_EQ(f.buttons, QStringList{"OK"});
        }
        EXPECT_EQ(rig.manager->currentPath(), c.recalled);
    }
}

#ifndef Q_OS_WIN

TEST(Recall, UpOneLevelOnThePosixRoot) {
    const struct {
        QString from;
        bool rootMessage;
    } cases[] = {{"/usr", false}, {"/", true}, {"", true}}; // nothing selected stands for the root
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from.toStdString());
        TreeRig rig;
        test::ScriptedInteraction asked;
        FolderTree& m = rig.Make(true, true);
        ASSERT_TRUE(m.selectPath(c.from.isEmpty() ? "/" : c.from));
        if (c.from.isEmpty())
            rig.tvwControl.clearSelection();
        if (c.rootMessage)
            asked.answer(MsgButton::Ok);
        PathRecall(m, asked, Language{}, nullptr).upOneLevel();
        EXPECT_EQ(m.currentPath(), "/");
        ASSERT_EQ(asked.messages.size(), c.rootMessage ? 1u : 0u);
        if (c.rootMessage) {
            EXPECT_EQ(asked.messages[0].request.text, "You are already on the root directory of the current "
                                                      "drive and as a result, you cannot go up any further.");
            EXPECT_EQ(asked.messages[0].request.icon, MsgIcon::Critical);
        }
    }
}

#endif

} // namespace
} // namespace vesmarin
