// The icon menu of the grid through the real main window: the bitmap, PNG and ICO files it writes, Save all,
// Copy, the keyboard, the tooltips and the details window. (The whole-program test takes Save, Copy, Save as
// PNG and Save all through the real menu and dialogs.)

#include "BrowseWindowRig.h"
#include "base/HelpFile.h"
#include "browse/IconDetailsDialog.h"
#include "browse/core/IconExport.h"
#include "platform/iconwriter/IconWriter.h"
#include "support/FileSizeLimit.h"
#include "support/RealDialogs.h"
#include "tools/IconsTool.h"
#include "ui/WhatsThisHelp.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <optional>
#include <sstream>
#include <tuple>

namespace vesmarin {
namespace {

// Icon 0, the group "MAINICON": a 16x16 bitmap with alpha, a 32x32 4-bit bitmap and a 512x512 PNG, the
// largest; icon 1, group 2: one 32x32 bitmap whose left half is transparent and right half opaque red.
testing::Bytes Dib32(int size, std::vector<std::uint32_t> pixels) {
    testing::Dib dib;
    dib.width = dib.height = size;
    dib.pixels = std::move(pixels);
    return testing::encodeDib(dib);
}

testing::Bytes Program() {
    std::vector<std::uint32_t> half(32 * 32);
    for (std::size_t i = 0; i < half.size(); ++i)
        half[i] = i % 32 < 16 ? 0x00000000 : 0xFFFF0000;
    auto icons = testing::iconGroup(
        1, "MAINICON", 1,
        {{{16, 16, 0, 1, 32}, Dib32(16, std::vector<std::uint32_t>(256, 0x800000FF))},
         {{32, 32, 16, 1, 4}, testing::solidDib(32, 32, 4, 0x0000FF)},
         {{0, 0, 0, 1, 32},
          testing::encodePng(512, 512, std::vector<std::uint32_t>(512 * 512, 0x8000FF00))}});
    const auto second = testing::iconGroup(2, "", 4, {{{32, 32, 0, 1, 32}, Dib32(32, half)}});
    icons.insert(icons.end(), second.begin(), second.end());
    return testing::buildPe(icons);
}

QByteArray Bytes(const std::optional<iconwriter::Bytes>& b) {
    return b ? QByteArray(reinterpret_cast<const char*>(b->data()), static_cast<qsizetype>(b->size()))
             : "<none>";
}

// Eight programs of one name in folders of their own (a to h): one set of 16 icons, 1-13 in row 0 and 14-16
// in row 1, cells 1 and 2 from a/app.exe. The icon folder is a folder of its own.
struct IconMenu : ::testing::Test {
    test::BrowseWindowRig b;
    QTemporaryDir icons;
    QString folder = icons.path() + u'/';
    std::vector<std::string> programs;
    std::string first = b.path(QStringLiteral("a/app.exe")).toStdString();

    void SetUp() override {
        for (char f = 'a'; f <= 'h'; ++f) {
            programs.push_back(b.path(QStringLiteral("%1/app.exe").arg(QLatin1Char(f))).toStdString());
            test::WriteBytes(QString::fromStdString(programs.back()), Program());
        }
        b.load(false, "IconSavePath=" + folder.toStdString() + "\n");
        ASSERT_EQ(b.press(), QStringLiteral("16 icons located."));
    }
    QStringList files(const QString& in) const { return QDir(in).entryList(QDir::Files | QDir::Hidden); }
    QStringList files() const { return files(folder); }
    QImage fifth() const { return b.grid.picture(0, 4); }
    QImage bitmap(const QString& name) const {
        return QImage(folder + name).convertToFormat(QImage::Format_RGB32);
    }
    QString saveCaption(int number) const {
        return QStringLiteral("Save  [ %1%2 ]").arg(folder, IconFileName(number));
    }
};

// Save names its file while the menu is open, and replaces a file of that name without a question. The
// bitmap is the cell's picture, the whole drawing surface: the icon on the system window colour.
TEST_F(IconMenu, SaveShowsItsTargetWhileTheMenuIsOpenAndWritesTheNumberedFile) {
    test::WriteFile(folder + QStringLiteral("I0000002.bmp"), "an older picture");
    b.choose(2, "mnuIconsSave");
    ASSERT_EQ(b.m.ui.menus.size(), 1u);
    EXPECT_EQ(b.m.ui.menus[0].name, QStringLiteral("mnuIcons"));
    EXPECT_EQ(b.m.ui.menus[0].captions, (QStringList{saveCaption(2), "Save as...", "-", "Copy", "-", "Help",
                                                     "-", "Cancel", "-", "Save as PNG...", "Save as ICO...",
                                                     "Save all icons of this set...", "Details..."}));
    EXPECT_EQ(b.m.control<QAction>("mnuIconsSave")->text(), QStringLiteral("Save"));
    EXPECT_EQ(b.browser.selectedIcon(), 2);
    EXPECT_EQ(b.m.ui.messages.size(), 1u) << "no question before replacing";
    EXPECT_EQ(files(), QStringList{QStringLiteral("I0000002.bmp")}) << "no temporary file left";
    const QImage saved = bitmap(QStringLiteral("I0000002.bmp"));
    EXPECT_EQ(saved, b.grid.picture(0, 1));
    EXPECT_EQ(saved.size(), QSize(IconGrid::kSurfaceSize, IconGrid::kSurfaceSize));
    EXPECT_EQ(saved.pixel(0, 0), QApplication::palette().color(QPalette::Base).rgb());
    EXPECT_EQ(saved.pixel(31, 0), qRgb(255, 0, 0));
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
        {"mnuIconsSavePng", true, "gone/app.exe~3-0.png", "Vesmarin, 203.", 76},
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

// Save as refuses another extension and adds .bmp to a name without; Cancel writes nothing.
TEST_F(IconMenu, SaveAsRefusesAnotherExtensionAndAddsBmpToANameWithout) {
    b.m.ui.answerDialog(folder + QStringLiteral("mine.ico"));
    b.m.ui.answer(MsgButton::Ok);
    b.m.ui.answerDialog(folder + QStringLiteral("mine"));
    b.choose(5, "mnuIconsSaveAs");
    b.m.ui.answerDialog(std::nullopt);
    b.choose(6, "mnuIconsSaveAs");

    ASSERT_EQ(b.m.ui.dialogs.size(), 3u);
    for (std::size_t i = 0; i < 2; ++i) {
        const FileDialogRequest& d = b.m.ui.dialogs[i].request;
        EXPECT_TRUE(b.m.ui.dialogs[i].save);
        EXPECT_EQ(d.title, QStringLiteral("Save icon as..."));
        EXPECT_EQ(d.initialPath, folder + QStringLiteral("I0000005")) << "the dialog opens as before";
        EXPECT_EQ(d.filter, QStringLiteral("Pictures (*.bmp)"));
        EXPECT_EQ(d.defaultSuffix, QStringLiteral("bmp"));
        EXPECT_TRUE(d.confirmOverwrite && d.pathMustExist);
    }
    ASSERT_EQ(b.m.ui.messages.size(), 2u);
    const MessageRequest& refused = b.m.ui.messages[1].request;
    EXPECT_EQ(refused.text, QStringLiteral("You may not alter the '.bmp' extension."));
    EXPECT_EQ(refused.title, QStringLiteral("Save icon as..."));
    EXPECT_EQ(refused.icon, MsgIcon::Critical);
    EXPECT_EQ(files(), QStringList{QStringLiteral("mine.bmp")});
    EXPECT_EQ(bitmap(QStringLiteral("mine.bmp")), fifth());
}

// The chosen icon folder is used and stored; Cancel in its dialog changes nothing.
TEST_F(IconMenu, ChosenIconFolderIsRememberedAndUsed) {
    const std::string iniBefore = b.m.ini();
    b.m.ui.answerDialog(std::nullopt);
    b.m.control<QAction>("mnuSavePathIcons")->trigger();
    EXPECT_EQ(b.browser.iconFolder(), folder);
    EXPECT_EQ(b.m.ini(), iniBefore);

    QTemporaryDir other;
    b.m.ui.answerDialog(other.path() + QStringLiteral("/do not alter this text.bmp"));
    b.m.control<QAction>("mnuSavePathIcons")->trigger();
    ASSERT_EQ(b.m.ui.dialogs.size(), 2u);
    const FileDialogRequest& r = b.m.ui.dialogs[1].request;
    EXPECT_FALSE(b.m.ui.dialogs[1].save);
    EXPECT_EQ(r.title, QStringLiteral("Select the folder where the icons will be saved"));
    EXPECT_EQ(r.initialPath, folder + QStringLiteral("do not alter this text"));
    EXPECT_EQ(r.filter, QStringLiteral("Pictures (*.bmp)"));
    EXPECT_TRUE(r.pathMustExist);
    const QString chosen = other.path() + u'/';
    EXPECT_EQ(b.browser.iconFolder(), chosen);
    EXPECT_EQ(b.m.iniValue("IconSavePath"), chosen.toStdString());
    b.choose(5, "mnuIconsSave");
    EXPECT_TRUE(QFile::exists(chosen + QStringLiteral("I0000005.bmp")));

    // A folder the settings file cannot take is reported and not used, not kept for this run only.
    const std::string iniNow = b.m.ini();
    ASSERT_TRUE(QFile::setPermissions(b.m.iniFile(), QFile::ReadOwner));
    b.m.ui.answerDialog(folder + QStringLiteral("do not alter this text.bmp"));
    b.m.ui.answer(MsgButton::No); // the error report: go on
    const std::size_t shown = b.m.ui.messages.size();
    b.m.control<QAction>("mnuSavePathIcons")->trigger();
    ASSERT_EQ(b.m.ui.messages.size(), shown + 1);
    EXPECT_EQ(b.m.ui.messages.back().request.title, QStringLiteral("Vesmarin, 196."));
    EXPECT_EQ(b.browser.iconFolder(), chosen);
    EXPECT_EQ(b.m.ini(), iniNow);
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
        {Qt::LeftButton, {2, 1}, false, 16},  {Qt::MiddleButton, {0, 0}, false, 1},
        {Qt::RightButton, {0, 0}, false, 0},  {Qt::LeftButton, {3, 1}, false, 0},
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
        {16, Qt::Key_Right, {}, 16},
        {1, Qt::Key_Left, {}, 1},
        {2, Qt::Key_Down, {}, 15},
        {9, Qt::Key_Down, {}, 16},
        {16, Qt::Key_Up, {}, 3},
        {15, Qt::Key_Home, {}, 14},
        {2, Qt::Key_End, {}, 13},
        {15, Qt::Key_End, {}, 16},
        {2, Qt::Key_End, Qt::ControlModifier, 16},
        {9, Qt::Key_PageDown, {}, 16},
        {15, Qt::Key_PageUp, {}, 2},
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
// the same number, so Save writes the same name. Ctrl+C copies the current cell's picture; on an empty cell
// it does nothing.
TEST_F(IconMenu, KeysOpenTheMenuOfTheCurrentCellAtItAndCopyIt) {
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> cases[] = {{Qt::Key_Menu, {}, 5},
                                                                     {Qt::Key_F10, Qt::ShiftModifier, 14},
                                                                     {Qt::Key_Return, {}, 16},
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

    b.click(1, 9); // an empty cell: no menu, but it is current
    QTest::keyClick(&b.grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(b.m.ui.clipboard.has_value());
    b.grid.setCurrentCell(0, 4);
    QTest::keyClick(&b.grid, Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(b.m.ui.clipboard.has_value());
    EXPECT_EQ(b.m.ui.clipboard->convertToFormat(QImage::Format_RGB32), fifth());
    EXPECT_EQ(b.m.ui.messages.size(), 1u) << "no error report";
}

TEST_F(IconMenu, PngAndIcoAsStoredThroughDialogsOfTheirOwn) {
    const iconreader::IconFile app(first);
    const struct {
        int cell;
        const char* item;
        const char* offered; // the name the dialog offers in the icon folder
        const char* filter;
        QByteArray content;
    } rows[] = {
        // The largest image, a PNG, goes out byte for byte as stored.
        {1, "mnuIconsSavePng", "app.exe-0.png", "PNG images (*.png)", Bytes(app.storedImagePng(0, 2))},
        {2, "mnuIconsSavePng", "app.exe-1.png", "PNG images (*.png)", Bytes(iconwriter::imagePng(app, 1, 0))},
        {1, "mnuIconsSaveIco", "app.exe-0.ico", "Icon files (*.ico)",
         Bytes(iconwriter::encodeIco(*app.storedGroup(0)))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.offered);
        b.m.ui.dialogs.clear();
        b.m.ui.answerDialog(folder + QStringLiteral("saved"));
        b.choose(row.cell, row.item);
        ASSERT_EQ(b.m.ui.dialogs.size(), 1u);
        const FileDialogRequest& r = b.m.ui.dialogs[0].request;
        EXPECT_EQ(r.initialPath, folder + QString::fromLatin1(row.offered));
        EXPECT_EQ(r.filter, QString::fromLatin1(row.filter));
        EXPECT_TRUE(r.confirmOverwrite && r.pathMustExist);
        EXPECT_EQ(test::ReadFile(folder + QStringLiteral("saved")), row.content);
    }
    // Icon 1's bitmap comes out with its alpha: transparent on the left, opaque red on the right.
    const QImage half = QImage::fromData(rows[1].content, "PNG");
    EXPECT_EQ(half.size(), QSize(32, 32));
    EXPECT_EQ(half.pixel(0, 0), 0x00000000u);
    EXPECT_EQ(half.pixel(31, 0), 0xFFFF0000u);
    EXPECT_EQ(b.m.ui.messages.size(), 1u) << "no report";
}

// The same names as vesmarin-icons export gives the same files, in either format, the programs of one name
// told apart; a file that cannot be written is named in the closing message and keeps the rest going.
TEST_F(IconMenu, SaveAllWritesTheSetUnderTheExportNamesAndNamesWhatFailed) {
    for (const int choice : {0, 1}) {
        const QString format = choice == 0 ? QStringLiteral("png") : QStringLiteral("ico");
        SCOPED_TRACE(format.toStdString());
        QTemporaryDir into, cli;
        std::ostringstream ignored;
        std::vector<std::string> arguments{"export", "--format", format.toStdString(), "--out",
                                           cli.path().toStdString()};
        arguments.insert(arguments.end(), programs.begin(), programs.end());
        ASSERT_EQ(tools::runIconsTool(arguments, ignored, ignored), 0);
        const QString readOnly = into.filePath(QStringLiteral("app.exe~2-1.") + format);
        test::WriteFile(readOnly, "kept");
        QFile::setPermissions(readOnly, QFile::ReadOwner);

        b.m.ui.answerFolder(FolderChoice{into.path(), choice});
        b.m.ui.answer(MsgButton::Ok);
        b.choose(3, "mnuIconsSaveAll");

        ASSERT_EQ(b.m.ui.folderDialogs.size(), std::size_t(choice + 1));
        EXPECT_EQ(b.m.ui.folderDialogs.back().initialFolder, folder);
        EXPECT_EQ(b.m.ui.folderDialogs.back().choices.size(), 2);
        EXPECT_EQ(files(into.path()), files(cli.path()));
        EXPECT_EQ(test::ReadFile(readOnly), "kept");
        const MessageRequest& told = b.m.ui.messages.back().request;
        EXPECT_EQ(told.icon, MsgIcon::Critical);
        EXPECT_TRUE(told.text.startsWith(QStringLiteral("15 of 16 icons saved in ") + into.path()));
        EXPECT_TRUE(told.text.endsWith(QStringLiteral("\r\napp.exe~2-1.%1: Permission denied").arg(format)))
            << told.text.toStdString();
        if (choice == 0)
            EXPECT_EQ(test::ReadFile(into.filePath(QStringLiteral("app.exe~8-0.png"))),
                      Bytes(iconreader::IconFile(programs.back()).storedImagePng(0, 2)));
        else
            EXPECT_EQ(test::ReadFile(into.filePath(QStringLiteral("app.exe-0.ico"))),
                      Bytes(iconwriter::encodeIco(*iconreader::IconFile(first).storedGroup(0))));
    }
}

TEST_F(IconMenu, ATooltipTellsWhereTheHoveredIconComesFromInTheLanguageInForce) {
    const auto hover = [this](int row, int column) {
        const QPoint at = b.grid.visualRect(b.grid.model()->index(row, column)).center();
        QHelpEvent event(QEvent::ToolTip, at, b.grid.viewport()->mapToGlobal(at));
        QApplication::sendEvent(b.grid.viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text().split(u'\n') : QStringList();
    };
    EXPECT_EQ(hover(0, 0), (QStringList{QString::fromStdString(first),
                                        QStringLiteral("Icon 0, group \"MAINICON\", language 1033"),
                                        QStringLiteral("Sizes: 16 × 16, 32 × 32, 512 × 512")}));
    EXPECT_EQ(hover(0, 3).value(1), QStringLiteral("Icon 1, group 2, language 1033"));
    hover(1, 5);
    QTest::qWait(400); // the toolkit lets a tip fade
    EXPECT_FALSE(QToolTip::isVisible()) << "an empty cell";
    b.m.control<QPushButton>("cmdLanguage", 0)->click();
    EXPECT_EQ(hover(0, 0).value(1), QStringLiteral("Εικονίδιο 0, πόρος «MAINICON», γλώσσα 1033"));
}

TEST_F(IconMenu, DetailsShowTheOriginAndEveryImageToSaveOrCopyAndFollowTheLanguage) {
    const iconreader::IconFile app(first);
    b.m.copyHelpFiles(QStringLiteral(VESMARIN_HELP_SOURCE_DIR));
    b.choose(1, "mnuIconsDetails");
    IconDetailsDialog* d = b.browser.detailsWindow();
    ASSERT_NE(d, nullptr);
    const auto text = [d](const char* name, int index = -1) {
        return test::Control<QLabel>(*d, name, index)->text();
    };
    EXPECT_EQ((QStringList{text("lblFile"), text("lblIndex"), text("lblGroup"), text("lblLanguage")}),
              (QStringList{QString::fromStdString(first), "0", "\"MAINICON\"", "1033"}));
    EXPECT_EQ((QStringList{text("lblImage", 0), text("lblImage", 1), text("lblImage", 2)}),
              (QStringList{"16 × 16, 32 bpp, bitmap", "32 × 32, 4 bpp, bitmap", "512 × 512, 32 bpp, PNG"}));
    // Reduced to 256, on a checkerboard that shows through the half-transparent green.
    const QImage shown = test::Control<QLabel>(*d, "picImage", 2)->pixmap().toImage();
    EXPECT_EQ(shown.size(), QSize(256, 256));
    EXPECT_NE(shown.pixel(0, 0), shown.pixel(8, 0));

    b.m.ui.answerDialog(folder + QStringLiteral("small.png"));
    test::Control<QPushButton>(*d, "cmdSavePng", 0)->click();
    EXPECT_EQ(b.m.ui.dialogs.back().request.initialPath, folder + QStringLiteral("app.exe-0-16x16-32.png"));
    EXPECT_EQ(test::ReadFile(folder + QStringLiteral("small.png")), Bytes(iconwriter::imagePng(app, 0, 0)));
    b.m.ui.answerDialog(folder + QStringLiteral("group.ico"));
    test::Control<QPushButton>(*d, "cmdSaveIco")->click();
    EXPECT_EQ(test::ReadFile(folder + QStringLiteral("group.ico")),
              Bytes(iconwriter::encodeIco(*app.storedGroup(0))));
    test::Control<QPushButton>(*d, "cmdCopy", 2)->click();
    EXPECT_EQ(b.m.ui.clipboardPng, Bytes(app.storedImagePng(0, 2)));
    EXPECT_EQ(b.m.ui.clipboard->size(), QSize(512, 512));

    b.m.control<QPushButton>("cmdLanguage", 0)->click();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Λεπτομέρειες εικονιδίου"));
    // Help in the language in force, for a right click as for the question mark.
    QPushButton* saveIco = test::Control<QPushButton>(*d, "cmdSaveIco");
    EXPECT_EQ(test::AskForHelp(saveIco, Qt::RightButton), "") << "no menu opens";
    ASSERT_FALSE(b.m.ui.popups.empty());
    EXPECT_EQ(b.m.ui.popups.back().text, TopicText(b.window.language(), TopicDetailsSaveIco));
    EXPECT_EQ(saveIco->whatsThis(), b.m.ui.popups.back().text);

    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_EQ(b.browser.detailsWindow(), nullptr);
    EXPECT_EQ(b.m.ui.messages.size(), 1u) << "no report";
}

} // namespace
} // namespace vesmarin
