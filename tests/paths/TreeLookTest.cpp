#include "TreeTestSupport.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

// What the user sees: the pale-cyan background, dotted lines joining the folders and a boxed button
// beside each folder that has subfolders. Set VESMARIN_SHOT to a file name to keep the picture.
TEST(TreeLook, PaleCyanBackgroundWithLinesAndExpandButtons) {
    test::TreeRig rig;
    test::FillWindowsMachine(rig.fake);
    FolderTree& m = rig.Make(false);
    m.setBackground(QColor(192, 255, 255));
    ASSERT_TRUE(m.selectPath("C:\\WINDOWS\\SYSTEM"));
    rig.tvwControl.resize(3132 / 15, 3732 / 15);
    rig.tvwControl.show();
    QApplication::processEvents();

    const QImage shot = rig.tvwControl.viewport()->grab().toImage();
    if (const QString file = qEnvironmentVariable("VESMARIN_SHOT"); !file.isEmpty())
        rig.tvwControl.grab().save(file);

    const QColor paleCyan(192, 255, 255);
    int background = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            background += shot.pixelColor(x, y) == paleCyan;
    EXPECT_GT(background, shot.width() * shot.height() / 2);

    const auto isLine = [&](int x, int y) { return shot.pixelColor(x, y).lightness() < 180; };
    const int indent = rig.tvwControl.indentation();
    const QRect documents = rig.tvwControl.visualItemRect(rig.Node("C:\\DOCUMENTS\\"));
    const QRect windows = rig.tvwControl.visualItemRect(rig.Node("C:\\WINDOWS\\"));
    // The line from C: down to D: passes the rows of C:'s folders, in the first indentation column.
    int linePixels = 0;
    for (int y = documents.top(); y < windows.bottom(); ++y)
        linePixels += isLine(indent / 2, y);
    EXPECT_GT(linePixels, (windows.bottom() - documents.top()) / 3) << "no tree line";
    // A boxed button beside "documents", which has a subfolder: both side walls of the box.
    const int cx = indent + indent / 2;
    const int cy = documents.center().y();
    EXPECT_TRUE(isLine(cx - 4, cy) && isLine(cx + 4, cy) && isLine(cx, cy)) << "no expand button";
}

} // namespace
} // namespace vesmarin
