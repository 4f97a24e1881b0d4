// The icon menu of the grid and the bitmap export of an icon, through the real main window.

#include "BrowseWindowRig.h"
#include "browse/core/IconExport.h"
#include "support/FileSizeLimit.h"

#include <QAction>
#include <optional>
#include <tuple>

namespace vesmarin {
namespace {

// A window showing one set of 20 icons (1-13 in row 0, 14-20 in row 1), with its icon folder in a folder
// of its own.
struct IconMenu : ::testing::Test {
    test::BrowseWindowRig b;
    QTemporaryDir icons;
    QString folder = icons.path() + u'/';

    void SetUp() override {
        test::WriteProgram(b.path(QStringLiteral("twenty.exe")), 1, 20);
        b.load(false, "IconSavePath=" + folder.toStdString() + "\n");
        ASSERT_EQ(b.press(), QStringLiteral("20 icons located."));
    }
    QStringList files() const { return QDir(icons.path()).entryList(QDir::Files | QDir::Hidden); }
    QImage fifth() const { return b.grid.picture(0, 4); }
    QImage bitmap(const QString& name) const {
        return QImage(folder + name).convertToFormat(QImage::Format_RGB32);
    }
    QString saveCaption(int number) const {
        return QStringLiteral("Save  [ %1%2 ]").arg(folder, IconFileName(number));
    }
};

// Save names its file while the menu is open, and replaces a file of that name without a question.
TEST_F(IconMenu, SaveShowsItsTargetWhileTheMenuIsOpenAndWritesTheNumberedFile) {
    test::WriteFile(folder + QStringLiteral("I0000005.bmp"), "an older picture");
    b.choose(5, "mnuIconsSave");
    ASSERT_EQ(b.m.ui.menus.size(), 1u);
    EXPECT_EQ(b.m.ui.menus[0].name, QStringLiteral("mnuIcons"));
    EXPECT_EQ(b.m.ui.menus[0].captions, (QStringList{saveCaption(5), "Save as...", "-", "Copy", "-", "Help",
                                                     "-", "Cancel", "-", "Save as PNG...", "Save as ICO...",
                                                     "Save all icons of this set...", "Details..."}));
    EXPECT_EQ(b.m.control<QAction>("mnuIconsSave")->text(), QStringLiteral("Save"));
    EXPECT_EQ(b.browser.selectedIcon(), 5);
    EXPECT_EQ(b.m.ui.messages.size(), 1u) << "no question before replacing";
    EXPECT_EQ(files(), QStringList{QStringLiteral("I0000005.bmp")}) << "no temporary file left";
    // The bitmap is the cell's picture: the whole drawing surface.
    EXPECT_EQ(bitmap(QStringLiteral("I0000005.bmp")), fifth());
    EXPECT_EQ(fifth().size(), QSize(IconGrid::kSurfaceSize, IconGrid::kSurfaceSize));
}

// A failed save is reported with its handler's code, never taken for success, and leaves what was there.
TEST_F(IconMenu, AFailedSaveIsReportedAndLeavesTheOldFile) {
    const struct {
        const char* item;
        bool gone;          // the folder no longer exists; else the disk is full
        const char* answer; // the name chosen in the item's dialog
        const char* title;
        int error;
    } cases[] = {
        {"mnuIconsSave", true, nullptr, "Vesmarin, 200.", 76},
        {"mnuIconsSave", false, nullptr, "Vesmarin, 200.", 75},
        {"mnuIconsSaveAs", false, "I0000005.bmp", "Vesmarin, 201.", 75},
        {"mnuIconsSavePng", true, "gone/twenty.exe-4.png", "Vesmarin, 203.", 76},
        {"mnuIconsSaveIco", false, "I0000005.bmp", "Vesmarin, 204.", 75},
    };
    test::WriteFile(folder + QStringLiteral("I0000005.bmp"), "older");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        b.browser.setIconFolder(folder + (c.gone ? QStringLiteral("gone/") : QString()));
        if (c.answer)
            b.m.ui.answerDialog(folder + QString::fromLatin1(c.answer));
        b.m.ui.answer(MsgButton::No); // end the program?
        const std::size_t before = b.m.ui.messages.size();
        {
            std::optional<test::FileSizeLimit> full;
            if (!c.gone)
                full.emplace(2);
            b.choose(5, c.item);
        }
        ASSERT_EQ(b.m.ui.messages.size(), before + 1);
        EXPECT_EQ(b.m.ui.messages.back().request.title, QString::fromLatin1(c.title));
        EXPECT_TRUE(b.m.ui.messages.back().request.text.startsWith(
            QStringLiteral("Error condition %1 ").arg(c.error)));
        EXPECT_EQ(test::ReadFile(folder + QStringLiteral("I0000005.bmp")), "older");
        EXPECT_EQ(files(), QStringList{QStringLiteral("I0000005.bmp")});
        EXPECT_FALSE(QDir(folder + QStringLiteral("gone")).exists());
    }
}

TEST_F(IconMenu, SaveAsRefusesAnotherExtensionAndAddsBmpToANameWithout) {
    b.m.ui.answerDialog(folder + QStringLiteral("mine.ico"));
    b.m.ui.answer(MsgButton::Ok);
    b.m.ui.answerDialog(folder + QStringLiteral("mine"));
    b.choose(5, "mnuIconsSaveAs");

    ASSERT_EQ(b.m.ui.dialogs.size(), 2u);
    for (const auto& d : b.m.ui.dialogs) {
        EXPECT_TRUE(d.save);
        EXPECT_EQ(d.request.title, QStringLiteral("Save icon as..."));
        EXPECT_EQ(d.request.initialPath, folder + QStringLiteral("I0000005")) << "the dialog opens as before";
        EXPECT_EQ(d.request.filter, QStringLiteral("Pictures (*.bmp)"));
        EXPECT_EQ(d.request.defaultSuffix, QStringLiteral("bmp"));
        EXPECT_TRUE(d.request.confirmOverwrite && d.request.pathMustExist);
    }
    ASSERT_EQ(b.m.ui.messages.size(), 2u);
    const MessageRequest& refused = b.m.ui.messages[1].request;
    EXPECT_EQ(refused.text, QStringLiteral("You may not alter the '.bmp' extension."));
    EXPECT_EQ(refused.title, QStringLiteral("Save icon as..."));
    EXPECT_EQ(refused.icon, MsgIcon::Critical);
    EXPECT_EQ(files(), QStringList{QStringLiteral("mine.bmp")});
    EXPECT_EQ(bitmap(QStringLiteral("mine.bmp")), fifth());
}

TEST_F(IconMenu, CancelInEitherDialogChangesNothing) {
    const std::string iniBefore = b.m.ini();
    b.m.ui.answerDialog(std::nullopt);
    b.choose(5, "mnuIconsSaveAs");
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
    b.choose(5, "mnuIconsCopy");
    ASSERT_TRUE(b.m.ui.clipboard.has_value());
    EXPECT_EQ(b.m.ui.clipboard->convertToFormat(QImage::Format_RGB32), fifth());

    b.m.ui.clipboard.reset();
    b.click(1, 9); // an empty cell: no menu, but it is current
    QTest::keyClick(&b.grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(b.m.ui.clipboard.has_value());
    b.grid.setCurrentCell(0, 4);
    QTest::keyClick(&b.grid, Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(b.m.ui.clipboard.has_value());
    EXPECT_EQ(b.m.ui.clipboard->convertToFormat(QImage::Format_RGB32), fifth());
    EXPECT_EQ(b.m.ui.messages.size(), 1u) << "no error report";
}

// The left or middle button opens the menu of a filled cell; beside the cells, that of the icon clicked
// last. The right button asks for help, and an empty cell has no menu.
TEST_F(IconMenu, MenuOnlyForAFilledCellAndNotOnTheRightButton) {
    const struct {
        Qt::MouseButton button;
        QPoint at; // a cell (column, row), or with `beside` a point of the viewport
        bool beside;
        int menuFor; // the cell number the menu is for, 0 for no menu
    } cases[] = {
        {Qt::LeftButton, {6, 1}, false, 20},  {Qt::MiddleButton, {0, 0}, false, 1},
        {Qt::RightButton, {0, 0}, false, 0},  {Qt::LeftButton, {7, 1}, false, 0},
        {Qt::LeftButton, {10, 200}, true, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.button << " at " << c.at.x() << "," << c.at.y());
        b.m.ui.menus.clear();
        b.grid.setCurrentCell(0, 2); // the third icon was clicked last
        if (c.menuFor != 0)
            b.m.ui.chooseMenuItem(QStringLiteral("mnuIconsCancel"));
        if (c.beside)
            QTest::mouseClick(b.grid.viewport(), c.button, {}, c.at);
        else
            b.click(c.at.y(), c.at.x(), c.button);
        ASSERT_EQ(b.m.ui.menus.size(), c.menuFor != 0 ? 1u : 0u);
        if (c.menuFor != 0) {
            EXPECT_EQ(b.browser.selectedIcon(), c.menuFor);
            EXPECT_EQ(b.m.ui.menus[0].captions.at(0), saveCaption(c.menuFor));
            EXPECT_TRUE(b.grid.item((c.menuFor - 1) / 13, (c.menuFor - 1) % 13)->isSelected());
        }
    }
    EXPECT_TRUE(files().isEmpty());
}

// The keyboard reaches the filled cells only, in reading order.
TEST_F(IconMenu, KeysMoveBetweenTheFilledCells) {
    const std::tuple<int, Qt::Key, Qt::KeyboardModifiers, int> cases[] = {
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
        {2, Qt::Key_End, Qt::ControlModifier, 20},
        {9, Qt::Key_PageDown, {}, 20},
        {18, Qt::Key_PageUp, {}, 5},
    };
    for (const auto& [from, key, modifiers, to] : cases) {
        b.grid.setCurrentCell((from - 1) / 13, (from - 1) % 13);
        QTest::keyClick(&b.grid, key, modifiers);
        EXPECT_EQ(b.grid.currentRow() * 13 + b.grid.currentColumn() + 1, to)
            << "from " << from << " key " << QKeySequence(key | modifiers).toString().toStdString();
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
        b.m.ui.menus.clear();
        b.grid.setCurrentCell((number - 1) / 13, (number - 1) % 13);
        b.m.ui.chooseMenuItem(QStringLiteral("mnuIconsSave"));
        QTest::keyClick(&b.grid, key, modifiers);
        ASSERT_EQ(b.m.ui.menus.size(), 1u);
        EXPECT_EQ(b.m.ui.menus[0].captions.at(0), saveCaption(number));
        const QRect cell = b.grid.visualRect(b.grid.currentIndex());
        EXPECT_TRUE(cell.contains(b.grid.viewport()->mapFromGlobal(b.m.ui.menus[0].at)));
        EXPECT_TRUE(QFile::exists(folder + IconFileName(number)));
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
    EXPECT_TRUE(r.pathMustExist);
    const QString chosen = other.path() + u'/';
    EXPECT_EQ(b.browser.iconFolder(), chosen);
    EXPECT_EQ(b.m.iniValue("IconSavePath"), chosen.toStdString());

    b.choose(5, "mnuIconsSave");
    EXPECT_TRUE(QFile::exists(chosen + QStringLiteral("I0000005.bmp")));
}

} // namespace
} // namespace vesmarin
