#include "TreeTestSupport.h"
#include "support/DarkDesktop.h"
#include "ui/Layout.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

// What the user sees, even under a dark desktop palette: the pale-cyan background, folder names in a colour
// that reads on it, dotted lines joining the folders and a boxed button beside each folder that has
// subfolders, which the desktop's own style may not draw.
TEST(TreeLook, PaleCyanBackgroundReadableNamesLinesAndExpandButtons) {
    test::DarkDesktop desktop;
    test::TreeRig rig;
    FolderTree& m = rig.Make(false);
    m.setBackground(kPaleCyan);
    ASSERT_TRUE(m.selectPath("C:\\WINDOWS\\SYSTEM"));
    rig.tvwControl.resize(3132 / 15, 3732 / 15);
    rig.tvwControl.show();
    QApplication::processEvents();
    const QImage shot = rig.tvwControl.viewport()->grab().toImage();

    EXPECT_EQ(shot.pixelColor(shot.width() - 2, shot.height() - 2), kPaleCyan);
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        EXPECT_GE(Contrast(rig.tvwControl.palette().color(group, QPalette::Text), kPaleCyan), 4.5);

    const auto isLine = [&](int x, int y) { return shot.pixelColor(x, y).lightness() < 180; };
    const int indent = rig.tvwControl.indentation();
    const QRect documents = rig.tvwControl.visualItemRect(rig.Node("C:\\DOCUMENTS\\"));
    const QRect windows = rig.tvwControl.visualItemRect(rig.Node("C:\\WINDOWS\\"));
    // The line from C: down to D: passes the rows of C:'s folders, in the first indentation column.
    int linePixels = 0;
    for (int y = documents.top(); y < windows.bottom(); ++y)
        linePixels += isLine(indent / 2, y);
    EXPECT_GT(linePixels, (windows.bottom() - documents.top()) / 3) << "no tree line";
    // A boxed button beside "documents", which has a subfolder: both side walls of the box and its sign.
    const int cx = indent + indent / 2;
    const int cy = documents.center().y();
    EXPECT_TRUE(isLine(cx - 4, cy) && isLine(cx + 4, cy) && isLine(cx, cy)) << "no expand button";
}

} // namespace
} // namespace vesmarin
