// Browse and the icon sets, end to end through the real main window over folders of test programs.

#include "BrowseWindowRig.h"
#include "ui/Layout.h"

#include <QScrollBar>
#include <algorithm>
#include <tuple>
#include <vector>

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
            SCOPED_TRACE(::testing::Message() << "set " << s << " of " << sets[s] << " icons");
            const QString message = b.press(s == 0 ? "cmdBrowse" : "cmdScan");
            EXPECT_EQ(message, QStringLiteral("%1 icons located.").arg(sets[s]));
            EXPECT_EQ(b.m.control<QLabel>("lblInfo")->text(), message);
            EXPECT_TRUE(b.grid.isVisible() && b.grid.verticalScrollBar()->value() == 0);
            EXPECT_EQ(b.grid.rowCount(), (sets[s] + 12) / 13);
            int cell = 0;
            for (; cell < sets[s] && file < iconsPerFile.size(); ++file)
                for (int k = 0; k < iconsPerFile[file]; ++k, ++cell)
                    ASSERT_EQ(b.cellColour(cell / 13, cell % 13), IconColour(int(file + 1), k)) << cell;
            EXPECT_EQ(cell, sets[s]) << "a set holds whole files";
            EXPECT_EQ(b.cellColour(b.grid.rowCount() - 1, 12), -1) << "nothing of an earlier set stays";
            EXPECT_EQ(b.m.control<QPushButton>("cmdScan")->isEnabled(), s + 1 < sets.size());
            b.grid.verticalScrollBar()->setValue(b.grid.verticalScrollBar()->maximum());
        }
        EXPECT_EQ(file, iconsPerFile.size());
        b.expectIdle();
    }
}

// No icon at all: the message tells whether files were found, the grid hides and no next set is offered.
// Files that hold no icon, even empty or not programs at all, give no icons and no error.
TEST(IconSets, NoIconsAreReportedInTheLanguageInForce) {
    const std::tuple<bool, bool, const char*> cases[] = {{false, false, "No icons located."},
                                                         {false, true, "Δεν εντοπίσθηκαν εικονίδια."},
                                                         {true, true, "Δεν εντοπίσθηκαν (άλλα) εικονίδια."}};
    for (const auto& [files, greek, message] : cases) {
        BrowseWindowRig b;
        test::WriteBytes(b.path(QStringLiteral("sub/readme.txt")), {'x'});
        test::WriteBytes(b.path(QStringLiteral("sub/deeper/program.exe.txt")), {'x'});
        if (files) {
            test::WriteBytes(b.path(QStringLiteral("empty.exe")), {});
            test::WriteBytes(b.path(QStringLiteral("text.dll")), {'M', 'Z', 'n', 'o', 't', ' ', 'P', 'E'});
            test::WriteProgram(b.path(QStringLiteral("none.exe")), 1, 0);
        }
        b.load(greek);
        EXPECT_EQ(b.press(), QString::fromUtf8(message));
        EXPECT_EQ(b.m.ui.messages.back().request.title, QStringLiteral("Vesmarin"));
        EXPECT_EQ(b.m.control<QLabel>("lblInfo")->text(), QString::fromUtf8(message));
        EXPECT_EQ(b.browser.foundFileCount(), files ? 3 : 0);
        EXPECT_TRUE(b.grid.isHidden() && !b.m.control<QPushButton>("cmdScan")->isEnabled());
        EXPECT_EQ(b.m.ui.pointerHistory.front(), Pointer::Hourglass);
        b.expectIdle();
    }
}

// 32,800 files without icons, then one with icons: the set walks past position 32,767 to reach it. Then a
// tree deeper than 100 levels is reported, and the counts of the last Browse stay.
TEST(IconSets, PositionsBeyondSixteenBitsThenATreeTooDeep) {
    BrowseWindowRig b;
    for (int i = 0; i < 32800; ++i) {
        QFile f(b.path(QStringLiteral("a%1.exe").arg(i, 5, 10, QLatin1Char('0'))));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    test::WriteProgram(b.path(QStringLiteral("z.exe")), 9, 3);
    b.load();
    EXPECT_EQ(b.press(), QStringLiteral("3 icons located."));
    EXPECT_EQ(b.cellColour(0, 2), IconColour(9, 2));

    ASSERT_TRUE(QDir().mkpath(b.data.path() + QStringLiteral("/d").repeated(101)));
    b.m.ui.answer(MsgButton::No); // end the program?
    QTest::mouseClick(b.m.control<QPushButton>("cmdBrowse"), Qt::LeftButton);
    ASSERT_EQ(b.m.ui.messages.size(), 2u);
    EXPECT_EQ(b.m.ui.messages[1].request.title, QStringLiteral("Vesmarin, 198."));
    EXPECT_TRUE(b.m.ui.messages[1].request.text.startsWith(QStringLiteral("Error condition 9 ")));
    b.expectIdle();
    EXPECT_TRUE(b.grid.isHidden() && !b.m.control<QPushButton>("cmdScan")->isEnabled());
    EXPECT_EQ(b.browser.foundFileCount(), 32801);
    EXPECT_EQ(b.m.ui.ended, 0);
}

// The window starts at its designed size, which is also its smallest; the right-hand column is widened so
// that the grid shows 13 whole cells beside its scroll bar. Made larger, before Browse or after, the tree
// grows downwards, the grid right and down with as many whole cells to a row as fit, the labels above it
// widen with it and the controls below keep their place to the bottom edge. The icons keep their order.
TEST(MainWindowSize, TreeAndGridGrowTheOtherControlsKeepTheirPlace) {
    BrowseWindowRig b;
    test::WriteProgram(b.path(QStringLiteral("many.exe")), 1, 300);
    b.load();
    const int extra = b.grid.width() - TwipsToPixels(6132);
    EXPECT_GT(extra, 0);
    const QSize designed(TwipsToPixels(9612) + extra, TwipsToPixels(6972));
    ASSERT_EQ(b.window.size(), designed);
    ASSERT_EQ(b.window.minimumSize(), designed);
    const auto at = [](int left, int top, int width, int height) {
        return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
    };
    for (const auto& [dx, dy, columns] : {std::tuple{300, 200, 21}, std::tuple{200, 0, 18}}) {
        SCOPED_TRACE(columns);
        b.window.resize(designed + QSize(dx, dy));
        if (b.grid.isHidden()) { // the first time, made larger before Browse
            EXPECT_EQ(b.press(), QStringLiteral("300 icons located."));
        }
        EXPECT_EQ(b.m.control("tvwControl")->geometry(), at(120, 120, 3132, 3732).adjusted(0, 0, 0, dy));
        EXPECT_EQ(b.m.control("cmdEnd")->geometry(), at(2760, 5760, 492, 492).translated(0, dy));
        EXPECT_EQ(b.m.control("lblCopyright")->y(), TwipsToPixels(6360) + dy);
        EXPECT_EQ(b.grid.geometry(), at(3360, 840, 6132, 5532).adjusted(0, 0, extra + dx, dy));
        EXPECT_EQ(b.m.control("cmdScan")->geometry(),
                  at(3360, 6480, 6132, 372).adjusted(0, dy, extra + dx, dy));
        for (const char* label : {"lblCurrentPath", "lblInfo"})
            EXPECT_EQ(b.m.control(label)->width(), b.grid.width()) << label;
        // Whole cells only, as many as fit, and no sideways scrolling.
        ASSERT_EQ(b.grid.columnCount(), columns);
        EXPECT_FALSE(b.grid.horizontalScrollBar()->isVisible());
        EXPECT_LE(columns * IconGrid::kCellSize, b.grid.viewport()->width());
        EXPECT_GT((columns + 1) * IconGrid::kCellSize, b.grid.viewport()->width());
        for (int n = 0; n < 300; ++n)
            ASSERT_EQ(b.cellColour(n / columns, n % columns), IconColour(1, n)) << "icon " << n + 1;
    }
}

// Each cell shows the stored image that best fits its pixels on the screen, drawn at that size: for an icon
// storing 16, 32, 48 and 64 pixels, at a device pixel ratio of 1 the 32x32 image, at 2 (the test run again
// as browse_window_tests_scaled, with QT_SCALE_FACTOR=2) the 64x64 one, pixel for pixel. Save and Copy take
// the 32x32 picture at any ratio.
TEST(IconGrid, CellShowsTheStoredImageThatFitsTheScreensPixels) {
    const std::pair<int, std::uint32_t> images[] = {
        {16, 0x00FF00}, {32, 0xFF0000}, {48, 0xFFFF00}, {64, 0x0000FF}};
    BrowseWindowRig b;
    std::vector<std::pair<testing::GroupEntry, testing::Bytes>> group;
    for (const auto& [size, colour] : images)
        group.push_back(
            {{std::uint8_t(size), std::uint8_t(size), 0, 1, 32}, testing::solidDib(size, size, 32, colour)});
    test::WriteBytes(b.path(QStringLiteral("sizes.exe")),
                     testing::buildPe(testing::iconGroup(1, "", 1, group)));
    b.load();
    EXPECT_EQ(b.press(), QStringLiteral("1 icon located."));
    b.grid.setCurrentCell(0, 1); // the icon's cell not highlighted

    const qreal ratio = b.grid.devicePixelRatioF();
    const auto fits = std::find_if(std::begin(images), std::end(images),
                                   [&](const auto& image) { return image.first == qRound(32 * ratio); });
    ASSERT_NE(fits, std::end(images)) << "no stored image for a ratio of " << ratio;
    const QImage shown = qvariant_cast<QImage>(b.grid.item(0, 0)->data(Qt::DecorationRole));
    EXPECT_EQ(shown.size(), QSize(fits->first, fits->first));
    EXPECT_EQ(shown.devicePixelRatio(), ratio);

    const QImage screen = b.grid.viewport()->grab().toImage();
    ASSERT_EQ(screen.devicePixelRatio(), ratio);
    const QPoint origin = (b.grid.visualRect(b.grid.model()->index(0, 0)).topLeft() + QPoint(2, 2)) * ratio;
    const QImage drawn = screen.copy(QRect(origin, shown.size())).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(drawn, QImage(shown).convertToFormat(QImage::Format_RGB32)) << "drawn pixel for pixel";
    EXPECT_EQ(drawn.pixel(0, 0) & 0xFFFFFF, fits->second);
    EXPECT_EQ(b.grid.picture(0, 0).size(), QSize(32, 32));
    EXPECT_EQ(b.cellColour(0, 0), 0xFF0000);
}

} // namespace
} // namespace vesmarin
