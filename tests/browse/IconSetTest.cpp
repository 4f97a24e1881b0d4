// Browse and the icon sets, end to end through the real main window over folders of test programs.

#include "BrowseWindowRig.h"
#include "ui/Layout.h"

#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QTreeWidget>
#include <vector>

namespace vesmarin {
namespace {

using test::BrowseWindowRig;
using test::IconColour;

struct SetCase {
    const char* name;
    std::vector<int> iconsPerFile; // the files in collection order
    std::vector<int> sets;         // icons of each set shown, in order: every file is shown
};

class SetRule : public ::testing::TestWithParam<SetCase> {};

TEST_P(SetRule, WholeFilesUntilMoreThan200Icons) {
    const SetCase& c = GetParam();
    BrowseWindowRig b;
    for (std::size_t i = 0; i < c.iconsPerFile.size(); ++i)
        test::WriteProgram(b.path(QStringLiteral("f%1.exe").arg(i, 2, 10, QLatin1Char('0'))),
                           static_cast<int>(i + 1), c.iconsPerFile[i]);
    b.load();

    std::size_t file = 0; // the first file of the set being checked
    for (std::size_t s = 0; s < c.sets.size(); ++s) {
        const QString message = s == 0 ? b.browse() : b.nextSet();
        EXPECT_EQ(message, QStringLiteral("%1 icons located.").arg(c.sets[s])) << "set " << s;
        EXPECT_EQ(b.m.control<QLabel>("lblInfo")->text(), message);
        EXPECT_EQ(b.browser.setIconCount(), c.sets[s]);
        EXPECT_TRUE(b.grid.isVisible());
        // A set starts at row 0, column 0 and fills rows of 13 in reading order, file after file.
        EXPECT_EQ(b.grid.rowCount(), (c.sets[s] + 12) / 13);
        int cell = 0;
        while (cell < c.sets[s]) {
            for (int k = 0; k < c.iconsPerFile[file]; ++k, ++cell)
                ASSERT_EQ(b.cellColour(cell / 13, cell % 13), IconColour(static_cast<int>(file + 1), k))
                    << "set " << s << " cell " << cell;
            ++file;
        }
        EXPECT_EQ(cell, c.sets[s]) << "a set holds whole files";
        if (c.sets[s] % 13 != 0) {
            EXPECT_EQ(b.cellColour(b.grid.rowCount() - 1, 12), -1);
        }
        EXPECT_EQ(b.grid.verticalScrollBar()->value(), 0) << "row 0 is the first visible row";
        // The next set can be asked for exactly when files are left for it.
        EXPECT_EQ(b.m.control<QPushButton>("cmdScan")->isEnabled(), s + 1 < c.sets.size()) << "set " << s;
    }
    EXPECT_EQ(file, c.iconsPerFile.size());
    EXPECT_TRUE(b.window.isEnabled());
    EXPECT_EQ(b.m.ui.pointer, Pointer::Default);
    EXPECT_TRUE(b.window.findChildren<QWidget*>(QStringLiteral("frmPleaseWait")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Sets, SetRule,
                         ::testing::Values(SetCase{"WorkedExample", {150, 40, 30, 80}, {220, 80}},
                                           SetCase{"Exactly200WhenTheListEnds", {120, 80}, {200}},
                                           SetCase{"CountPasses200InTheLastFile", {150, 60}, {210}},
                                           SetCase{"OneFileOf500IsOneSet", {500, 3}, {500, 3}},
                                           SetCase{"FourteenIconsFillRow0AndOneCellOfRow1", {14}, {14}},
                                           SetCase{"LaterSetStartsAtRow0Column0", {201, 7}, {201, 7}}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(IconSets, FilesWithoutIconsGiveNoMoreIcons) {
    BrowseWindowRig b;
    test::WriteBytes(b.path(QStringLiteral("empty.exe")), {});
    test::WriteBytes(b.path(QStringLiteral("text.dll")), {'M', 'Z', 'n', 'o', 't', ' ', 'P', 'E'});
    test::WriteProgram(b.path(QStringLiteral("none.exe")), 1, 0);
    b.load(true);
    EXPECT_EQ(b.browse(), QStringLiteral("Δεν εντοπίσθηκαν (άλλα) εικονίδια."));
    EXPECT_EQ(b.browser.foundFileCount(), 3);
    EXPECT_TRUE(b.grid.isHidden());
    EXPECT_FALSE(b.m.control<QPushButton>("cmdScan")->isEnabled());
}

TEST(IconSets, PositionsBeyondSixteenBits) {
    // 32,800 files without icons, then one with icons: the set walks past position 32,767 to reach it.
    BrowseWindowRig b;
    for (int i = 0; i < 32800; ++i) {
        QFile f(b.path(QStringLiteral("a%1.exe").arg(i, 5, 10, QLatin1Char('0'))));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    test::WriteProgram(b.path(QStringLiteral("z.exe")), 9, 3);
    b.load();
    EXPECT_EQ(b.browse(), QStringLiteral("3 icons located."));
    EXPECT_EQ(b.browser.foundFileCount(), 32801);
    EXPECT_EQ(b.cellColour(0, 2), IconColour(9, 2));
}

// The grid holds its 13 columns whole beside its scroll bar; the right-hand column widens by as much as
// the window does, and nothing else moves.
TEST(IconGrid, ShowsThirteenWholeCellsBesideItsScrollBar) {
    BrowseWindowRig b;
    const QRect tree = b.m.control<QTreeWidget>("tvwControl")->geometry();
    test::WriteProgram(b.path(QStringLiteral("many.exe")), 1, 300);
    b.load();
    EXPECT_EQ(b.browse(), QStringLiteral("300 icons located."));

    EXPECT_TRUE(b.grid.verticalScrollBar()->isVisible());
    EXPECT_FALSE(b.grid.horizontalScrollBar()->isVisible());
    EXPECT_GE(b.grid.viewport()->width(), 13 * IconGrid::kCellSize);
    const QRect cell = b.grid.visualRect(b.grid.model()->index(0, 12));
    EXPECT_EQ(cell.size(), QSize(36, 36));
    EXPECT_LE(cell.right(), b.grid.viewport()->width() - 1);

    const int extra = b.grid.width() - TwipsToPixels(6132);
    EXPECT_GT(extra, 0);
    for (QWidget* w : {static_cast<QWidget*>(b.m.control<QLabel>("lblCurrentPath")),
                       static_cast<QWidget*>(b.m.control<QLabel>("lblInfo")),
                       static_cast<QWidget*>(b.m.control<QPushButton>("cmdScan"))}) {
        EXPECT_EQ(w->width(), b.grid.width()) << w->objectName().toStdString();
        EXPECT_EQ(w->x(), b.grid.x()) << w->objectName().toStdString();
    }
    EXPECT_EQ(b.window.width(), TwipsToPixels(9612) + extra);
    EXPECT_EQ(b.m.control<QTreeWidget>("tvwControl")->geometry(), tree);
}

// Icons are drawn on the system window colour, exactly as the reader draws them, at the surface's size.
TEST(IconGrid, PictureIsTheIconOnTheWindowColour) {
    BrowseWindowRig b;
    testing::Dib half;
    half.width = half.height = 32;
    half.bitCount = 32;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            half.pixels.push_back(x < 16 ? 0x00000000u : 0xFF0000FFu); // left half transparent
    test::WriteBytes(
        b.path(QStringLiteral("half.exe")),
        testing::buildPe(testing::iconGroup(1, "", 1, {{{32, 32, 0, 1, 32}, testing::encodeDib(half)}})));
    b.load();
    EXPECT_EQ(b.browse(), QStringLiteral("1 icon located."));
    const QImage p = b.grid.picture(0, 0);
    ASSERT_EQ(p.size(), QSize(32, 32));
    EXPECT_EQ(p.pixel(2, 2), QApplication::palette().color(QPalette::Base).rgb());
    EXPECT_EQ(p.pixel(30, 30), qRgb(0, 0, 255));
}

class NothingFound : public ::testing::TestWithParam<bool> {};

TEST_P(NothingFound, MessageLabelHiddenGridAndNoNextSet) {
    const bool greek = GetParam();
    const QString message =
        greek ? QStringLiteral("Δεν εντοπίσθηκαν εικονίδια.") : QStringLiteral("No icons located.");
    BrowseWindowRig b;
    QDir(b.data.path()).mkpath(QStringLiteral("sub/deeper"));
    test::WriteBytes(b.path(QStringLiteral("sub/readme.txt")), {'x'});
    test::WriteBytes(b.path(QStringLiteral("sub/deeper/program.exe.txt")), {'x'});
    b.load(greek);
    EXPECT_EQ(b.browse(), message);
    EXPECT_EQ(b.m.ui.messages.back().request.title, QStringLiteral("Vesmarin"));
    EXPECT_EQ(b.m.control<QLabel>("lblInfo")->text(), message);
    EXPECT_TRUE(b.grid.isHidden());
    EXPECT_FALSE(b.m.control<QPushButton>("cmdScan")->isEnabled());
    EXPECT_EQ(b.browser.foundFileCount(), 0);
    EXPECT_TRUE(b.window.isEnabled());
    EXPECT_EQ(b.m.ui.pointerHistory, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Default}));
    EXPECT_TRUE(b.window.findChildren<QWidget*>(QStringLiteral("frmPleaseWait")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Languages, NothingFound, ::testing::Values(false, true));

TEST(Browse, TreeDeeperThan100LevelsIsReported) {
    BrowseWindowRig b;
    test::WriteProgram(b.path(QStringLiteral("top.exe")), 1, 2);
    b.load();
    EXPECT_EQ(b.browse(), QStringLiteral("2 icons located."));

    // 101 levels below the start folder: the collection ends, and the counts of the last one stay.
    QString deep = b.data.path();
    for (int i = 0; i < 101; ++i)
        deep += QStringLiteral("/d");
    ASSERT_TRUE(QDir().mkpath(deep));
    b.m.ui.answer(MsgButton::No);
    b.m.control<QPushButton>("cmdBrowse")->click();
    ASSERT_EQ(b.m.ui.messages.size(), 2u);
    const MessageRequest& r = b.m.ui.messages.back().request;
    EXPECT_EQ(r.title, QStringLiteral("Vesmarin, 198."));
    EXPECT_TRUE(r.text.startsWith(QStringLiteral("Error condition 9 with the description")))
        << r.text.toStdString();
    EXPECT_TRUE(b.window.isEnabled());
    EXPECT_EQ(b.m.ui.pointer, Pointer::Default);
    EXPECT_TRUE(b.window.findChildren<QWidget*>(QStringLiteral("frmPleaseWait")).isEmpty());
    EXPECT_TRUE(b.grid.isHidden());
    EXPECT_FALSE(b.m.control<QPushButton>("cmdScan")->isEnabled());
    EXPECT_EQ(b.browser.foundFileCount(), 1);
    EXPECT_EQ(b.m.ui.ended, 0);
}

} // namespace
} // namespace vesmarin
