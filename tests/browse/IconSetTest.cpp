// Browse and the icon sets, end to end through the real main window over folders of test programs.

#include "BrowseWindowRig.h"
#include "ui/Layout.h"

#include <QScrollBar>

namespace vesmarin {
namespace {

using test::BrowseWindowRig;
using test::IconColour;

// A set holds whole files, file after file, until it holds more than 200 icons. It starts at row 0, column 0
// in view, and fills rows of 13 in reading order.
TEST(IconSets, WholeFilesUntilMoreThan200Icons) {
    // The icons of each file in collection order; the icons of each set, in order: every file is shown. 200
    // is not more than 200, and a set that ends on the last file leaves no next set.
    const std::pair<std::vector<int>, std::vector<int>> cases[] = {
        {{150, 40, 30, 80}, {220, 80}}, {{120, 80, 5}, {205}}, {{500, 3}, {500, 3}}};
    for (const auto& [iconsPerFile, sets] : cases) {
        BrowseWindowRig b;
        for (std::size_t i = 0; i < iconsPerFile.size(); ++i)
            test::WriteProgram(b.path(QStringLiteral("f%1.exe").arg(i)), int(i + 1), iconsPerFile[i]);
        b.load();
        std::size_t file = 0; // the first file of the set being checked
        for (std::size_t s = 0; s < sets.size(); ++s) {
            EXPECT_EQ(b.press(s ? "cmdScan" : "cmdBrowse"), QStringLiteral("%1 icons located.").arg(sets[s]));
            EXPECT_TRUE(b.grid.isVisible() && b.grid.verticalScrollBar()->value() == 0);
            int cell = 0;
            for (; cell < sets[s] && file < iconsPerFile.size(); ++file)
                for (int k = 0; k < iconsPerFile[file]; ++k, ++cell)
                    ASSERT_EQ(b.cellColour(cell / 13, cell % 13), IconColour(int(file + 1), k)) << cell;
            EXPECT_EQ(cell, sets[s]) << "a set holds whole files";
            EXPECT_EQ(b.cellColour(b.grid.rowCount() - 1, 12), -1) << "nothing of an earlier set stays";
            EXPECT_EQ(b.m.control<QPushButton>("cmdScan")->isEnabled(), s + 1 < sets.size());
            b.grid.verticalScrollBar()->setValue(b.grid.verticalScrollBar()->maximum());
        }
    }
}

// No icon at all: the message tells whether files were found, the grid hides and no next set is offered.
// Files that hold no icon, even empty or not programs at all, give no icons and no error. The pointer shows
// the work while it lasts.
TEST(IconSets, NoIconsAreReportedInTheLanguageInForce) {
    const std::tuple<bool, bool, const char*> cases[] = {{false, false, "No icons located."},
                                                         {false, true, "Δεν εντοπίσθηκαν εικονίδια."},
                                                         {true, true, "Δεν εντοπίσθηκαν (άλλα) εικονίδια."}};
    for (const auto& [files, greek, message] : cases) {
        BrowseWindowRig b;
        if (files) {
            test::WriteBytes(b.path(QStringLiteral("empty.exe")), {});
            test::WriteBytes(b.path(QStringLiteral("text.dll")), {'M', 'Z', 'n', 'o', 't', ' ', 'P', 'E'});
            test::WriteProgram(b.path(QStringLiteral("none.exe")), 1, 0);
        }
        b.load(greek);
        EXPECT_EQ(b.press(), QString::fromUtf8(message));
        EXPECT_EQ(b.m.control<QLabel>("lblInfo")->text(), QString::fromUtf8(message)); // also in the window
        EXPECT_EQ(b.browser.foundFileCount(), files ? 3 : 0);
        EXPECT_TRUE(b.grid.isHidden() && !b.m.control<QPushButton>("cmdScan")->isEnabled());
        EXPECT_EQ(b.m.ui.pointerHistory.front(), Pointer::Hourglass);
    }
}

// 32,800 files without icons, then one with icons: the set walks past position 32,767 to reach it. Then a
// tree deeper than 100 levels is reported, and the counts of the last Browse stay.
TEST(IconSets, PositionsBeyondSixteenBitsThenATreeTooDeep) {
    BrowseWindowRig b;
    for (int i = 0; i < 32800; ++i)
        test::WriteFile(b.path(QStringLiteral("a%1.exe").arg(i, 5, 10, QLatin1Char('0'))));
    test::WriteProgram(b.path(QStringLiteral("z.exe")), 9, 3);
    b.load();
    EXPECT_EQ(b.press(), QStringLiteral("3 icons located."));
    EXPECT_EQ(b.cellColour(0, 2), IconColour(9, 2));

    ASSERT_TRUE(QDir().mkpath(b.data.path() + QStringLiteral("/d").repeated(101)));
    b.m.ui.answer(MsgButton::No); // end the program?
    QTest::mouseClick(b.m.control<QPushButton>("cmdBrowse"), Qt::LeftButton);
    const MessageRequest& told = b.m.ui.messages.back().request;
    EXPECT_EQ(std::tuple(told.title, told.text.left(18)), std::tuple("Vesmarin, 198.", "Error condition 9 "));
    // The long operation is over: the window takes input again with the normal pointer.
    EXPECT_TRUE(b.window.isEnabled() && b.m.ui.pointer == Pointer::Default &&
                !b.window.findChild<QWidget*>(QStringLiteral("frmPleaseWait")));
    EXPECT_TRUE(b.grid.isHidden() && !b.m.control<QPushButton>("cmdScan")->isEnabled());
    EXPECT_EQ(std::pair(b.browser.foundFileCount(), b.m.ui.ended), std::pair(32801, 0));
}

// The window starts at its designed size, which is also its smallest; the right-hand column is widened so
// that the grid shows 13 whole cells beside its scroll bar. Made larger before Browse, the grid grows right
// and down with as many whole cells to a row as fit, in order, and the controls below keep their place to the
// bottom edge. (Screens.sh makes the real window larger after Browse.)
TEST(MainWindowSize, TheGridGrowsTheOtherControlsKeepTheirPlace) {
    BrowseWindowRig b;
    test::WriteProgram(b.path(QStringLiteral("many.exe")), 1, 300);
    b.load();
    const int extra = b.grid.width() - TwipsToPixels(6132);
    const QSize designed(TwipsToPixels(9612) + extra, TwipsToPixels(6972));
    EXPECT_GT(extra, 0);
    ASSERT_EQ(std::pair(b.window.size(), b.window.minimumSize()), std::pair(designed, designed));
    b.window.resize(designed + QSize(300, 200));
    EXPECT_EQ(b.press(), QStringLiteral("300 icons located."));
    const QRect grid(TwipsToPixels(3360), TwipsToPixels(840), TwipsToPixels(6132) + extra + 300,
                     TwipsToPixels(5532) + 200);
    EXPECT_EQ(b.grid.geometry(), grid);
    EXPECT_EQ(b.m.control("cmdScan")->geometry(),
              QRect(grid.left(), TwipsToPixels(6480) + 200, grid.width(), TwipsToPixels(372)));
    ASSERT_EQ(b.grid.columnCount(), 21); // whole cells only, as many as fit
    for (int n = 0; n < 300; ++n)
        ASSERT_EQ(b.cellColour(n / 21, n % 21), IconColour(1, n)) << "icon " << n + 1;
}

// Each cell shows the stored image that best fits its pixels on the screen, drawn at that size: for an icon
// storing 16, 32, 48 and 64 pixels, at a device pixel ratio of 1 the 32x32 image, at 2 (the test run again
// as browse_window_tests_scaled, with QT_SCALE_FACTOR=2) the 64x64 one. Save and Copy take the 32x32 picture
// at any ratio.
TEST(IconGrid, CellShowsTheStoredImageThatFitsTheScreensPixels) {
    BrowseWindowRig b;
    std::vector<std::pair<testing::GroupEntry, testing::Bytes>> group;
    for (const auto& [size, colour] :
         {std::pair{16, 0x00FF00u}, {32, 0xFF0000u}, {48, 0xFFFF00u}, {64, 0x0000FFu}})
        group.push_back(
            {{std::uint8_t(size), std::uint8_t(size), 0, 1, 32}, testing::solidDib(size, size, 32, colour)});
    test::WriteBytes(b.path(QStringLiteral("sizes.exe")),
                     testing::buildPe(testing::iconGroup(1, "", 1, group)));
    b.load();
    EXPECT_EQ(b.press(), QStringLiteral("1 icon located."));
    b.grid.setCurrentCell(0, 1); // the icon's cell not highlighted

    const int fits = qRound(32 * b.grid.devicePixelRatioF()); // 32, or 64 at twice the pixels
    const QPoint origin =
        (b.grid.visualRect(b.grid.model()->index(0, 0)).topLeft() + QPoint(2, 2)) * fits / 32;
    const QImage drawn = b.grid.viewport()->grab().toImage().copy(QRect(origin, QSize(fits, fits)));
    const std::uint32_t colour = fits == 32 ? 0xFF0000 : 0x0000FF; // the stored image of that size
    EXPECT_EQ(std::pair(drawn.pixel(0, 0) & 0xFFFFFF, drawn.pixel(fits - 1, fits - 1) & 0xFFFFFF),
              std::pair(colour, colour));
    EXPECT_EQ(std::pair(b.grid.picture(0, 0).size(), b.cellColour(0, 0)),
              std::pair(QSize(32, 32), std::int64_t{0xFF0000}));
}

} // namespace
} // namespace vesmarin
