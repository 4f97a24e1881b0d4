#include "TreeTestSupport.h"
#include "support/DarkDesktop.h"
#include "ui/Layout.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>
#include <optional>

namespace vesmarin {
namespace {

// What the user sees, under a light or a dark desktop palette alike: the pale-cyan background, folder
// names in a colour that reads on it, dotted lines joining the folders and a boxed button beside each folder
// that has subfolders, and the selection in the desktop's own colours. Set VESMARIN_SHOT to a file name to
// keep the picture.
class TreeLook : public ::testing::TestWithParam<bool> {};

TEST_P(TreeLook, PaleCyanBackgroundReadableNamesLinesAndExpandButtons) {
    std::optional<test::DarkDesktop> desktop;
    if (GetParam())
        desktop.emplace();
    test::TreeRig rig;
    test::FillWindowsMachine(rig.fake);
    FolderTree& m = rig.Make(false);
    m.setBackground(kPaleCyan);
    ASSERT_TRUE(m.selectPath("C:\\WINDOWS\\SYSTEM"));
    rig.tvwControl.resize(3132 / 15, 3732 / 15);
    rig.tvwControl.show();
    QApplication::processEvents();

    const QImage shot = rig.tvwControl.viewport()->grab().toImage();
    if (const QString file = qEnvironmentVariable("VESMARIN_SHOT"); !file.isEmpty())
        rig.tvwControl.grab().save(file);

    int background = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            background += shot.pixelColor(x, y) == kPaleCyan;
    EXPECT_GT(background, shot.width() * shot.height() / 2);

    const QPalette& p = rig.tvwControl.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        EXPECT_GE(Contrast(p.color(group, QPalette::Text), kPaleCyan), 4.5);
        EXPECT_GE(Contrast(p.color(group, QPalette::HighlightedText), p.color(group, QPalette::Highlight)),
                  3.0);
    }
    const auto isLine = [&](int x, int y) { return shot.pixelColor(x, y).lightness() < 180; };
    const QRect documents = rig.tvwControl.visualItemRect(rig.Node("C:\\DOCUMENTS\\"));
    // The name itself is drawn in dark pixels.
    int dark = 0;
    for (int y = documents.top(); y <= documents.bottom(); ++y)
        for (int x = documents.left(); x <= documents.right(); ++x)
            dark += shot.pixelColor(x, y).lightness() < 90;
    EXPECT_GT(dark, 10) << "the folder's name does not read";

    const int indent = rig.tvwControl.indentation();
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

INSTANTIATE_TEST_SUITE_P(Desktops, TreeLook, ::testing::Values(false, true),
                         [](const auto& param) { return std::string(param.param ? "Dark" : "Light"); });

} // namespace
} // namespace vesmarin
