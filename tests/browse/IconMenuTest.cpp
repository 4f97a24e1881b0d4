// The icon menu of the grid and the export of an icon, through the real main window.

#include "BrowseWindowRig.h"
#include "browse/core/IconExport.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QDir>
#include <QTest>
#include <optional>
#include <string_view>
#include <tuple>

namespace vesmarin {
namespace {

using test::BrowseWindowRig;

// A window showing one set of 20 icons, with its icon folder in a folder of its own.
struct IconMenu : ::testing::Test {
    BrowseWindowRig b;
    QTemporaryDir icons;
    QString folder = icons.path() + u'/';

    void SetUp() override {
        test::WriteProgram(b.path(QStringLiteral("twenty.exe")), 1, 20);
        b.load(false, "IconSavePath=" + folder.toStdString() + "\n");
        ASSERT_EQ(b.browse(), QStringLiteral("20 icons located."));
    }

    void click(int row, int column, Qt::MouseButton button = Qt::LeftButton) {
        const QRect cell = b.grid.visualRect(b.grid.model()->index(row, column));
        QTest::mouseClick(b.grid.viewport(), button, {}, cell.center());
    }
    // Clicks the fifth icon and chooses an item of the menu.
    void chooseForFifth(const char* item) {
        b.m.ui.chooseMenuItem(QString::fromLatin1(item));
        click(0, 4);
    }
    QStringList files() const { return QDir(icons.path()).entryList(QDir::Files | QDir::Hidden); }
    QImage fifth() const { return b.grid.picture(0, 4); }
};

TEST_F(IconMenu, SaveShowsItsTargetWhileTheMenuIsOpenAndWritesTheNumberedFile) {
    chooseForFifth("mnuIconsSave");
    ASSERT_EQ(b.m.ui.menus.size(), 1u);
    EXPECT_EQ(b.m.ui.menus[0].name, QStringLiteral("mnuIcons"));
    EXPECT_EQ(
        b.m.ui.menus[0].captions,
        (QStringList{QStringLiteral("Save  [ %1I0000005.bmp ]").arg(folder), QStringLiteral("Save as..."),
                     QStringLiteral("-"), QStringLiteral("Copy"), QStringLiteral("-"), QStringLiteral("Help"),
                     QStringLiteral("-"), QStringLiteral("Cancel"), QStringLiteral("-"),
                     QStringLiteral("Save as PNG..."), QStringLiteral("Save as ICO..."),
                     QStringLiteral("Save all icons of this set..."), QStringLiteral("Details...")}));
    EXPECT_EQ(b.m.control<QAction>("mnuIconsSave")->text(), QStringLiteral("Save"));
    EXPECT_EQ(b.browser.selectedIcon(), 5);
    EXPECT_EQ(files(), QStringList{QStringLiteral("I0000005.bmp")});

    // The bitmap is the cell's picture: the whole drawing surface.
    const QImage saved =
        QImage(folder + QStringLiteral("I0000005.bmp")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(saved, fifth());
    EXPECT_EQ(saved.size(), QSize(IconGrid::kSurfaceSize, IconGrid::kSurfaceSize));
}

TEST_F(IconMenu, SaveReplacesTheFileOfTheSameName) {
    QFile old(folder + QStringLiteral("I0000005.bmp"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older picture");
    old.close();
    chooseForFifth("mnuIconsSave");
    EXPECT_TRUE(b.m.ui.messages.size() == 1u) << "no question before replacing";
    EXPECT_EQ(QImage(old.fileName()).convertToFormat(QImage::Format_RGB32), fifth());
    EXPECT_EQ(files(), QStringList{QStringLiteral("I0000005.bmp")}) << "no temporary file left";
}

// A failed save is reported with its handler's code, never taken for success, and leaves what was there.
TEST_F(IconMenu, AFailedSaveIsReportedAndLeavesTheOldFile) {
    struct Case {
        const char* name;
        const char* item;
        const char* title;
        const char* error;
    };
    const Case cases[] = {
        {"a folder that no longer exists", "mnuIconsSave", "Vesmarin, 200.", "Error condition 76 "},
        {"a full disk", "mnuIconsSave", "Vesmarin, 200.", "Error condition 75 "},
        {"a full disk, Save as", "mnuIconsSaveAs", "Vesmarin, 201.", "Error condition 75 "},
        {"a folder that no longer exists, Save as PNG", "mnuIconsSavePng", "Vesmarin, 203.",
         "Error condition 76 "},
        {"a full disk, Save as ICO", "mnuIconsSaveIco", "Vesmarin, 204.", "Error condition 75 "},
    };
    test::WriteFile(folder + QStringLiteral("I0000005.bmp"), "older");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool gone = std::string_view(c.name).starts_with("a folder");
        b.browser.setIconFolder(folder + (gone ? QStringLiteral("gone/") : QString()));
        if (std::string_view(c.item) !=
            "mnuIconsSave") // the dialog takes the name it offers, or the old file
            b.m.ui.answerDialog(std::string_view(c.item) == "mnuIconsSaveAs" || !gone
                                    ? folder + QStringLiteral("I0000005.bmp")
                                    : folder + QStringLiteral("gone/twenty.exe-4.png"));
        b.m.ui.answer(MsgButton::No); // end the program?
        const std::size_t before = b.m.ui.messages.size();
        {
            std::optional<test::FileSizeLimit> full;
            if (!gone)
                full.emplace(2);
            chooseForFifth(c.item);
        }
        ASSERT_EQ(b.m.ui.messages.size(), before + 1);
        EXPECT_EQ(b.m.ui.messages.back().request.title, QString::fromUtf8(c.title));
        EXPECT_TRUE(b.m.ui.messages.back().request.text.startsWith(QString::fromUtf8(c.error)));
        EXPECT_EQ(test::ReadFile(folder + QStringLiteral("I0000005.bmp")), "older");
        EXPECT_EQ(files(), QStringList{QStringLiteral("I0000005.bmp")});
        EXPECT_FALSE(QDir(folder + QStringLiteral("gone")).exists());
    }
}

TEST_F(IconMenu, SaveAsRefusesAnotherExtensionAndAddsBmpToANameWithout) {
    b.m.ui.answerDialog(folder + QStringLiteral("mine.ico"));
    b.m.ui.answer(MsgButton::Ok);
    b.m.ui.answerDialog(folder + QStringLiteral("mine"));
    chooseForFifth("mnuIconsSaveAs");

    ASSERT_EQ(b.m.ui.dialogs.size(), 2u);
    for (const auto& d : b.m.ui.dialogs) {
        EXPECT_TRUE(d.save);
        EXPECT_EQ(d.request.title, QStringLiteral("Save icon as..."));
        EXPECT_EQ(d.request.initialPath, folder + QStringLiteral("I0000005")) << "the dialog opens as before";
        EXPECT_EQ(d.request.filter, QStringLiteral("Pictures (*.bmp)"));
        EXPECT_EQ(d.request.defaultSuffix, QStringLiteral("bmp"));
        EXPECT_TRUE(d.request.confirmOverwrite);
        EXPECT_TRUE(d.request.pathMustExist);
    }
    ASSERT_EQ(b.m.ui.messages.size(), 2u);
    const MessageRequest& refused = b.m.ui.messages[1].request;
    EXPECT_EQ(refused.text, QStringLiteral("You may not alter the '.bmp' extension."));
    EXPECT_EQ(refused.title, QStringLiteral("Save icon as..."));
    EXPECT_EQ(refused.icon, MsgIcon::Critical);
    EXPECT_EQ(refused.buttons, MsgButtons::Ok);
    EXPECT_EQ(files(), QStringList{QStringLiteral("mine.bmp")});
    EXPECT_EQ(QImage(folder + QStringLiteral("mine.bmp")).convertToFormat(QImage::Format_RGB32), fifth());
}

TEST_F(IconMenu, CancelInEitherDialogChangesNothing) {
    const std::string iniBefore = b.m.ini();
    b.m.ui.answerDialog(std::nullopt);
    chooseForFifth("mnuIconsSaveAs");
    b.m.ui.answerDialog(std::nullopt);
    b.m.control<QAction>("mnuSavePathIcons")->trigger();
    EXPECT_EQ(b.m.ui.dialogs.size(), 2u);
    EXPECT_EQ(b.m.ui.messages.size(), 1u);
    EXPECT_TRUE(files().isEmpty());
    EXPECT_EQ(b.browser.iconFolder(), folder);
    EXPECT_EQ(b.m.ini(), iniBefore);
}

// Copy, from the menu or by Ctrl+C on the current cell, puts the cell's picture on the clipboard; Ctrl+C on
// an empty cell does nothing.
TEST_F(IconMenu, CopyAndCtrlCPutTheCellsPictureOnTheClipboard) {
    chooseForFifth("mnuIconsCopy");
    ASSERT_TRUE(b.m.ui.clipboard.has_value());
    EXPECT_EQ(b.m.ui.clipboard->convertToFormat(QImage::Format_RGB32), fifth());

    b.m.ui.clipboard.reset();
    click(1, 9); // an empty cell: no menu, but it is current
    QTest::keyClick(&b.grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(b.m.ui.clipboard.has_value());
    b.grid.setCurrentCell(0, 4);
    QTest::keyClick(&b.grid, Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(b.m.ui.clipboard.has_value());
    EXPECT_EQ(b.m.ui.clipboard->convertToFormat(QImage::Format_RGB32), fifth());
    EXPECT_EQ(b.m.ui.messages.size(), 1u) << "no error report";
}

struct ClickCase {
    const char* name;
    Qt::MouseButton button;
    QPoint at; // a cell (column, row), or a point of the viewport beside the cells when outside
    bool outside;
    int menuFor; // the cell number the menu is for, 0 for no menu
};

class GridClick : public IconMenu, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(GridClick, MenuOnlyForAFilledCellAndNotOnTheRightButton) {
    const ClickCase& c = GetParam();
    b.grid.setCurrentCell(0, 2); // the third icon was clicked last
    if (c.menuFor != 0)
        b.m.ui.chooseMenuItem(QStringLiteral("mnuIconsCancel"));
    if (c.outside)
        QTest::mouseClick(b.grid.viewport(), c.button, {}, c.at);
    else
        click(c.at.y(), c.at.x(), c.button);
    ASSERT_EQ(b.m.ui.menus.size(), c.menuFor != 0 ? 1u : 0u);
    if (c.menuFor != 0) {
        EXPECT_EQ(b.browser.selectedIcon(), c.menuFor);
        EXPECT_EQ(b.m.ui.menus[0].captions.at(0),
                  QStringLiteral("Save  [ %1%2 ]").arg(folder, IconFileName(c.menuFor)));
        EXPECT_TRUE(b.grid.item((c.menuFor - 1) / 13, (c.menuFor - 1) % 13)->isSelected());
    }
    EXPECT_TRUE(files().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Clicks, GridClick,
                         ::testing::Values(ClickCase{"LeftOnTheLastIcon", Qt::LeftButton, {6, 1}, false, 20},
                                           ClickCase{"MiddleOnAnIcon", Qt::MiddleButton, {0, 0}, false, 1},
                                           ClickCase{"RightOnAnIcon", Qt::RightButton, {0, 0}, false, 0},
                                           ClickCase{"LeftOnAnEmptyCell", Qt::LeftButton, {7, 1}, false, 0},
                                           // Beside the cells the click keeps the icon clicked last.
                                           ClickCase{
                                               "LeftBelowTheCells", Qt::LeftButton, {10, 200}, true, 3}),
                         [](const auto& param) { return std::string(param.param.name); });

// The keyboard reaches the filled cells only, in reading order: 20 icons fill row 0 (1-13) and 7 cells of
// row 1 (14-20).
struct MoveCase {
    int from;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int to;
};

TEST_F(IconMenu, KeysMoveBetweenTheFilledCells) {
    const MoveCase cases[] = {
        {13, Qt::Key_Right, {}, 14},
        {14, Qt::Key_Left, {}, 13},
        {20, Qt::Key_Right, {}, 20},
        {1, Qt::Key_Left, {}, 1},
        {3, Qt::Key_Down, {}, 16},
        {9, Qt::Key_Down, {}, 20},
        {20, Qt::Key_Up, {}, 7},
        {17, Qt::Key_Home, {}, 14},
        {2, Qt::Key_End, {}, 13},
        {15, Qt::Key_End, {}, 20},
        {17, Qt::Key_Home, Qt::ControlModifier, 1},
        {2, Qt::Key_End, Qt::ControlModifier, 20},
        {2, Qt::Key_PageDown, {}, 15},
        {9, Qt::Key_PageDown, {}, 20},
        {18, Qt::Key_PageUp, {}, 5},
    };
    for (const MoveCase& c : cases) {
        b.grid.setCurrentCell((c.from - 1) / 13, (c.from - 1) % 13);
        QTest::keyClick(&b.grid, c.key, c.modifiers);
        EXPECT_EQ(b.grid.currentRow() * 13 + b.grid.currentColumn() + 1, c.to)
            << "from " << c.from << " key " << QKeySequence(c.key | c.modifiers).toString().toStdString();
    }
    EXPECT_TRUE(b.m.ui.menus.empty());
}

// The menu key, Shift+F10 and Return open the menu of the current cell at that cell, as a click on it would:
// the same number, so Save writes the same name.
TEST_F(IconMenu, KeysOpenTheMenuOfTheCurrentCellAtIt) {
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> cases[] = {{Qt::Key_Menu, {}, 5},
                                                                     {Qt::Key_F10, Qt::ShiftModifier, 14},
                                                                     {Qt::Key_Return, {}, 20},
                                                                     {Qt::Key_Enter, Qt::KeypadModifier, 1}};
    for (const auto& [key, modifiers, number] : cases) {
        b.grid.setCurrentCell((number - 1) / 13, (number - 1) % 13);
        b.m.ui.chooseMenuItem(QStringLiteral("mnuIconsSave"));
        QTest::keyClick(&b.grid, key, modifiers);
        ASSERT_EQ(b.m.ui.menus.size(), 1u);
        EXPECT_EQ(b.m.ui.menus[0].captions.at(0),
                  QStringLiteral("Save  [ %1%2 ]").arg(folder, IconFileName(number)));
        const QRect cell = b.grid.visualRect(b.grid.currentIndex());
        EXPECT_TRUE(cell.contains(b.grid.viewport()->mapFromGlobal(b.m.ui.menus[0].at)));
        EXPECT_TRUE(QFile::exists(folder + IconFileName(number)));
        b.m.ui.menus.clear();
    }
    EXPECT_EQ(files().size(), 4);
}

TEST_F(IconMenu, ChosenIconFolderIsRememberedAndUsed) {
    QTemporaryDir other;
    b.m.ui.answerDialog(other.path() + QStringLiteral("/do not alter this text.bmp"));
    b.m.control<QAction>("mnuSavePathIcons")->trigger();

    ASSERT_EQ(b.m.ui.dialogs.size(), 1u);
    const FileDialogRequest& r = b.m.ui.dialogs[0].request;
    EXPECT_FALSE(b.m.ui.dialogs[0].save);
    EXPECT_EQ(r.title, QStringLiteral("Select the folder where the icons will be saved"));
    EXPECT_EQ(r.initialPath, folder + QStringLiteral("do not alter this text"));
    EXPECT_EQ(r.filter, QStringLiteral("Pictures (*.bmp)"));
    EXPECT_EQ(r.defaultSuffix, QStringLiteral("bmp"));
    EXPECT_TRUE(r.pathMustExist);
    const QString chosen = other.path() + u'/';
    EXPECT_EQ(b.browser.iconFolder(), chosen);
    EXPECT_NE(b.m.ini().find("IconSavePath=" + chosen.toStdString() + "\n"), std::string::npos) << b.m.ini();

    chooseForFifth("mnuIconsSave");
    EXPECT_TRUE(QFile::exists(chosen + QStringLiteral("I0000005.bmp")));
}

} // namespace
} // namespace vesmarin
