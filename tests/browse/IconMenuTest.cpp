// The icon menu of the grid through the real main window: the bitmap, PNG and ICO files it writes, Save all,
// Copy, the keyboard, the tooltips and the details window. (The whole-program test takes Save, Copy, Save as
// PNG and Save all through the real menu and dialogs.)

#include "BrowseWindowRig.h"
#include "base/HelpFile.h"
#include "browse/IconDetailsDialog.h"
#include "browse/core/IconExport.h"
#include "platform/iconwriter/IconWriter.h"
#include "support/FileSizeLimit.h"
#include "tools/IconsTool.h"
#include "ui/WhatsThisHelp.h"

#include <QHelpEvent>
#include <QToolTip>
#include <optional>
#include <sstream>
#include <tuple>

namespace vesmarin {
namespace {

// Icon 0, the group "MAINICON": a 16x16 32-bit bitmap, a 32x32 4-bit bitmap and a 512x512 PNG, the
// largest; icon 1, group 2: one 32x32 bitmap whose left half is transparent and right half opaque red.
testing::Bytes Program() {
    testing::Dib half;
    half.width = half.height = 32;
    for (int i = 0; i < 32 * 32; ++i)
        half.pixels.push_back(i % 32 < 16 ? 0x00000000 : 0xFFFF0000);
    auto icons = testing::iconGroup(
        1, "MAINICON", 1,
        {{{16, 16, 0, 1, 32}, testing::solidDib(16, 16, 32, 0x0000FF)},
         {{32, 32, 16, 1, 4}, testing::solidDib(32, 32, 4, 0x0000FF)},
         {{0, 0, 0, 1, 32},
          testing::encodePng(512, 512, std::vector<std::uint32_t>(512 * 512, 0x8000FF00))}});
    const auto second = testing::iconGroup(2, "", 4, {{{32, 32, 0, 1, 32}, testing::encodeDib(half)}});
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
    test::ScriptedInteraction& ui = b.m.ui;
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
    QString in(const char* name) const { return folder + QString::fromLatin1(name); }
    QStringList files(const QString& in) const { return QDir(in).entryList(QDir::Files | QDir::Hidden); }
    QStringList files() const { return files(folder); }
    QImage fifth() const { return b.grid.picture(0, 4); }
    QImage bitmap(const char* name) const { return QImage(in(name)).convertToFormat(QImage::Format_RGB32); }
    QString saveCaption(int number) const {
        return QStringLiteral("Save  [ %1%2 ]").arg(folder, IconFileName(number));
    }
    void setCurrent(int number) { b.grid.setCurrentCell((number - 1) / 13, (number - 1) % 13); }
    void press(const QString& keys) {
        const QKeyCombination key = QKeySequence(keys)[0];
        QTest::keyClick(&b.grid, key.key(), key.keyboardModifiers());
    }
    const MessageRequest& told() const { return ui.messages.back().request; }
};

// Save names its file while the menu is open, and replaces a file of that name without a question. The
// bitmap is the cell's picture, the whole drawing surface: the icon on the system window colour.
TEST_F(IconMenu, SaveShowsItsTargetWhileTheMenuIsOpenAndWritesTheNumberedFile) {
    test::WriteFile(in("I0000002.bmp"), "an older picture");
    b.choose(2, "mnuIconsSave");
    ASSERT_EQ(ui.menus.size(), 1u);
    EXPECT_EQ(ui.menus[0].name, QStringLiteral("mnuIcons"));
    EXPECT_EQ(ui.menus[0].captions, (QStringList{saveCaption(2), "Save as...", "-", "Copy", "-", "Help", "-",
                                                 "Cancel", "-", "Save as PNG...", "Save as ICO...",
                                                 "Save all icons of this set...", "Details..."}));
    EXPECT_EQ(b.m.control<QAction>("mnuIconsSave")->text(), QStringLiteral("Save"));
    EXPECT_EQ(b.browser.selectedIcon(), 2);
    EXPECT_EQ(ui.messages.size(), 1u) << "no question before replacing";
    EXPECT_EQ(files(), QStringList{QStringLiteral("I0000002.bmp")}) << "no temporary file left";
    const QImage saved = bitmap("I0000002.bmp");
    EXPECT_EQ(saved, b.grid.picture(0, 1));
    EXPECT_EQ(saved.pixel(0, 0), QApplication::palette().color(QPalette::Base).rgb());
    EXPECT_EQ(saved.pixel(31, 0), qRgb(255, 0, 0));
}

// A failed save is reported with its handler's code, never taken for success, and leaves what was there.
TEST_F(IconMenu, AFailedSaveIsReportedAndLeavesTheOldFile) {
    // The item; whether the folder is gone (else the disk is full); the name chosen in its dialog; the
    // report.
    const std::tuple<const char*, bool, const char*, const char*, int> cases[] = {
        {"mnuIconsSave", true, nullptr, "Vesmarin, 200.", 76},
        {"mnuIconsSave", false, nullptr, "Vesmarin, 200.", 75},
        {"mnuIconsSaveAs", false, "I0000005.bmp", "Vesmarin, 201.", 75},
        {"mnuIconsSavePng", true, "gone/app.exe~3-0.png", "Vesmarin, 203.", 76},
        {"mnuIconsSaveIco", false, "I0000005.bmp", "Vesmarin, 204.", 75},
    };
    test::WriteFile(in("I0000005.bmp"), "older");
    for (const auto& [item, gone, answer, title, error] : cases) {
        SCOPED_TRACE(item);
        b.browser.setIconFolder(gone ? in("gone/") : folder);
        if (answer)
            ui.answerDialog(in(answer));
        ui.answer(MsgButton::No); // end the program?
        const std::size_t before = ui.messages.size();
        {
            std::optional<test::FileSizeLimit> full;
            if (!gone)
                full.emplace(2);
            b.choose(5, item);
        }
        ASSERT_EQ(ui.messages.size(), before + 1);
        EXPECT_EQ(told().title, QString::fromLatin1(title));
        EXPECT_TRUE(told().text.startsWith(QStringLiteral("Error condition %1 ").arg(error)));
        EXPECT_EQ(test::ReadFile(in("I0000005.bmp")), "older");
        EXPECT_EQ(files(), QStringList{QStringLiteral("I0000005.bmp")});
        EXPECT_FALSE(QDir(in("gone")).exists());
    }
}

// Save as refuses another extension and adds .bmp to a name without; Cancel writes nothing.
TEST_F(IconMenu, SaveAsRefusesAnotherExtensionAndAddsBmpToANameWithout) {
    ui.answerDialog(in("mine.ico"));
    ui.answer(MsgButton::Ok);
    ui.answerDialog(in("mine"));
    b.choose(5, "mnuIconsSaveAs");
    ui.answerDialog(std::nullopt);
    b.choose(6, "mnuIconsSaveAs");

    ASSERT_EQ(ui.dialogs.size(), 3u);
    const FileDialogRequest& d = ui.dialogs[0].request;
    EXPECT_TRUE(ui.dialogs[0].save && d.confirmOverwrite && d.pathMustExist);
    EXPECT_EQ((QStringList{d.title, d.initialPath, d.filter, d.defaultSuffix}),
              (QStringList{"Save icon as...", in("I0000005"), "Pictures (*.bmp)", "bmp"}));
    EXPECT_EQ(ui.dialogs[1].request.initialPath, in("I0000005")) << "the dialog opens as before";
    ASSERT_EQ(ui.messages.size(), 2u);
    const MessageRequest& refused = ui.messages[1].request;
    EXPECT_EQ(refused.text, QStringLiteral("You may not alter the '.bmp' extension."));
    EXPECT_EQ(refused.title, d.title);
    EXPECT_EQ(refused.icon, MsgIcon::Critical);
    EXPECT_EQ(files(), QStringList{QStringLiteral("mine.bmp")});
    EXPECT_EQ(bitmap("mine.bmp"), fifth());
}

// The chosen icon folder is used and stored; Cancel in its dialog changes nothing.
TEST_F(IconMenu, ChosenIconFolderIsRememberedAndUsed) {
    const std::string iniBefore = b.m.ini();
    auto* choose = b.m.control<QAction>("mnuSavePathIcons");
    ui.answerDialog(std::nullopt);
    choose->trigger();
    EXPECT_EQ(b.browser.iconFolder(), folder);
    EXPECT_EQ(b.m.ini(), iniBefore);

    QTemporaryDir other;
    ui.answerDialog(other.path() + QStringLiteral("/do not alter this text.bmp"));
    choose->trigger();
    ASSERT_EQ(ui.dialogs.size(), 2u);
    const FileDialogRequest& r = ui.dialogs[1].request;
    EXPECT_TRUE(!ui.dialogs[1].save && r.pathMustExist);
    EXPECT_EQ((QStringList{r.title, r.initialPath, r.filter}),
              (QStringList{"Select the folder where the icons will be saved", in("do not alter this text"),
                           "Pictures (*.bmp)"}));
    const QString chosen = other.path() + u'/';
    EXPECT_EQ(b.browser.iconFolder(), chosen);
    EXPECT_EQ(b.m.iniValue("IconSavePath"), chosen.toStdString());
    b.choose(5, "mnuIconsSave");
    EXPECT_TRUE(QFile::exists(chosen + QStringLiteral("I0000005.bmp")));

    // A folder the settings file cannot take is reported and not used, not kept for this run only.
    const std::string iniNow = b.m.ini();
    ASSERT_TRUE(QFile::setPermissions(b.m.iniFile(), QFile::ReadOwner));
    ui.answerDialog(in("do not alter this text.bmp"));
    ui.answer(MsgButton::No); // the error report: go on
    const std::size_t shown = ui.messages.size();
    choose->trigger();
    ASSERT_EQ(ui.messages.size(), shown + 1);
    EXPECT_EQ(told().title, QStringLiteral("Vesmarin, 196."));
    EXPECT_EQ(b.browser.iconFolder(), chosen);
    EXPECT_EQ(b.m.ini(), iniNow);
}

// The left or middle button opens the menu of a filled cell; beside the cells, that of the icon clicked
// last. The right button asks for help, and an empty cell has no menu.
TEST_F(IconMenu, MenuOnlyForAFilledCellAndNotOnTheRightButton) {
    // The button; a cell (column, row), or with `beside` a point of the viewport; the cell the menu is for.
    const std::tuple<Qt::MouseButton, QPoint, bool, int> cases[] = {{Qt::LeftButton, {2, 1}, false, 16},
                                                                    {Qt::MiddleButton, {0, 0}, false, 1},
                                                                    {Qt::RightButton, {0, 0}, false, 0},
                                                                    {Qt::LeftButton, {3, 1}, false, 0},
                                                                    {Qt::LeftButton, {10, 200}, true, 3}};
    for (const auto& [button, at, beside, menuFor] : cases) {
        SCOPED_TRACE(::testing::Message() << button << " at " << at.x() << "," << at.y());
        ui.menus.clear();
        b.grid.setCurrentCell(0, 2); // the third icon was clicked last
        if (menuFor != 0)
            ui.chooseMenuItem(QStringLiteral("mnuIconsCancel"));
        if (beside)
            QTest::mouseClick(b.grid.viewport(), button, {}, at);
        else
            b.click(at.y(), at.x(), button);
        ASSERT_EQ(ui.menus.size(), menuFor != 0 ? 1u : 0u);
        if (menuFor != 0) {
            EXPECT_EQ(b.browser.selectedIcon(), menuFor);
            EXPECT_EQ(ui.menus[0].captions.at(0), saveCaption(menuFor));
            EXPECT_TRUE(b.grid.item((menuFor - 1) / 13, (menuFor - 1) % 13)->isSelected());
        }
    }
    EXPECT_TRUE(files().isEmpty());
}

// The keyboard reaches the filled cells only, in reading order.
TEST_F(IconMenu, KeysMoveBetweenTheFilledCellsOpenTheMenuAtTheCurrentOneAndCopyIt) {
    for (const char* move :
         {"13 Right 14", "14 Left 13", "16 Right 16", "1 Left 1", "2 Down 15", "9 Down 16", "16 Up 3",
          "15 Home 14", "2 End 13", "15 End 16", "2 Ctrl+End 16", "9 PgDown 16", "15 PgUp 2"}) {
        const QStringList from_key_to = QString::fromLatin1(move).split(u' ');
        setCurrent(from_key_to[0].toInt());
        press(from_key_to[1]);
        EXPECT_EQ(b.grid.currentRow() * 13 + b.grid.currentColumn() + 1, from_key_to[2].toInt()) << move;
    }
    EXPECT_TRUE(ui.menus.empty());

    // The menu key, Shift+F10 and Return open the menu of the current cell at that cell, as a click on it
    // would: the same number, so Save writes the same name. Ctrl+C copies the current cell's picture; on an
    // empty cell it does nothing.
    for (const auto& [key, number] :
         {std::pair{"Menu", 5}, {"Shift+F10", 14}, {"Return", 16}, {"Num+Enter", 1}}) {
        ui.menus.clear();
        setCurrent(number);
        ui.chooseMenuItem(QStringLiteral("mnuIconsSave"));
        press(QString::fromLatin1(key));
        ASSERT_EQ(ui.menus.size(), 1u);
        EXPECT_EQ(ui.menus[0].captions.at(0), saveCaption(number));
        const QRect cell = b.grid.visualRect(b.grid.currentIndex());
        EXPECT_TRUE(cell.contains(b.grid.viewport()->mapFromGlobal(ui.menus[0].at)));
        EXPECT_TRUE(QFile::exists(folder + IconFileName(number)));
    }
    b.click(1, 9); // an empty cell: no menu, but it is current
    press(QStringLiteral("Ctrl+C"));
    EXPECT_FALSE(ui.clipboard.has_value());
    setCurrent(5);
    press(QStringLiteral("Ctrl+C"));
    ASSERT_TRUE(ui.clipboard.has_value());
    EXPECT_EQ(ui.clipboard->convertToFormat(QImage::Format_RGB32), fifth());
}

TEST_F(IconMenu, PngAndIcoAsStoredThroughDialogsOfTheirOwn) {
    const iconreader::IconFile app(first);
    // The cell, the item, the name offered in the icon folder, the filter, the bytes written.
    const std::tuple<int, const char*, const char*, const char*, QByteArray> rows[] = {
        // The largest image, a PNG, goes out byte for byte as stored.
        {1, "mnuIconsSavePng", "app.exe-0.png", "PNG images (*.png)", Bytes(app.storedImagePng(0, 2))},
        {2, "mnuIconsSavePng", "app.exe-1.png", "PNG images (*.png)", Bytes(iconwriter::imagePng(app, 1, 0))},
        {1, "mnuIconsSaveIco", "app.exe-0.ico", "Icon files (*.ico)",
         Bytes(iconwriter::encodeIco(*app.storedGroup(0)))},
    };
    for (const auto& [cell, item, offered, filter, content] : rows) {
        SCOPED_TRACE(offered);
        ui.dialogs.clear();
        ui.answerDialog(in("saved"));
        b.choose(cell, item);
        ASSERT_EQ(ui.dialogs.size(), 1u);
        const FileDialogRequest& r = ui.dialogs[0].request;
        EXPECT_EQ((QStringList{r.initialPath, r.filter}), (QStringList{in(offered), filter}));
        EXPECT_TRUE(r.confirmOverwrite && r.pathMustExist);
        EXPECT_EQ(test::ReadFile(in("saved")), content);
    }
    // Icon 1's bitmap comes out with its alpha: transparent on the left, opaque red on the right.
    const QImage half = QImage::fromData(std::get<4>(rows[1]), "PNG");
    EXPECT_EQ(half.size(), QSize(32, 32));
    EXPECT_EQ(half.pixel(0, 0), 0x00000000u);
    EXPECT_EQ(half.pixel(31, 0), 0xFFFF0000u);
    EXPECT_EQ(ui.messages.size(), 1u) << "no report";
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
        const QString readOnly = QStringLiteral("app.exe~2-1.") + format;
        test::WriteFile(into.filePath(readOnly), "kept");
        QFile::setPermissions(into.filePath(readOnly), QFile::ReadOwner);

        ui.answerFolder(FolderChoice{into.path(), choice});
        ui.answer(MsgButton::Ok);
        b.choose(3, "mnuIconsSaveAll");

        ASSERT_EQ(ui.folderDialogs.size(), std::size_t(choice + 1));
        EXPECT_EQ(ui.folderDialogs.back().initialFolder, folder);
        EXPECT_EQ(ui.folderDialogs.back().choices.size(), 2);
        EXPECT_EQ(files(into.path()), files(cli.path()));
        EXPECT_EQ(told().icon, MsgIcon::Critical);
        EXPECT_TRUE(told().text.startsWith(QStringLiteral("15 of 16 icons saved in ") + into.path()));
        EXPECT_TRUE(told().text.endsWith("\r\n" + readOnly + ": Permission denied"))
            << told().text.toStdString();
        EXPECT_EQ(test::ReadFile(into.filePath(readOnly)), "kept");
        EXPECT_EQ(test::ReadFile(into.filePath(choice == 0 ? "app.exe~8-0.png" : "app.exe-0.ico")),
                  Bytes(choice == 0 ? iconreader::IconFile(programs.back()).storedImagePng(0, 2)
                                    : iconwriter::encodeIco(*iconreader::IconFile(first).storedGroup(0))));
    }
}

// The whole tooltip is the export texts' test; here, which icon it is for and that it follows the language.
TEST_F(IconMenu, ATooltipTellsWhereTheHoveredIconComesFromInTheLanguageInForce) {
    const auto hover = [this](int row, int column) {
        const QPoint at = b.grid.visualRect(b.grid.model()->index(row, column)).center();
        QHelpEvent event(QEvent::ToolTip, at, b.grid.viewport()->mapToGlobal(at));
        QApplication::sendEvent(b.grid.viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text().split(u'\n') : QStringList();
    };
    EXPECT_EQ(hover(0, 0).mid(0, 2),
              (QStringList{QString::fromStdString(first),
                           QStringLiteral("Icon 0, group \"MAINICON\", language 1033")}));
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

    const auto save = [&](const char* button, int index, const char* saveAs) {
        ui.answerDialog(in(saveAs));
        test::Control<QPushButton>(*d, button, index)->click();
        return test::ReadFile(in(saveAs));
    };
    EXPECT_EQ(save("cmdSavePng", 0, "small.png"), Bytes(iconwriter::imagePng(app, 0, 0)));
    EXPECT_EQ(ui.dialogs.back().request.initialPath, in("app.exe-0-16x16-32.png"));
    EXPECT_EQ(save("cmdSaveIco", -1, "group.ico"), Bytes(iconwriter::encodeIco(*app.storedGroup(0))));
    test::Control<QPushButton>(*d, "cmdCopy", 2)->click();
    EXPECT_EQ(ui.clipboardPng, Bytes(app.storedImagePng(0, 2)));
    EXPECT_EQ(ui.clipboard->size(), QSize(512, 512));

    b.m.control<QPushButton>("cmdLanguage", 0)->click();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Λεπτομέρειες εικονιδίου"));
    // Help in the language in force, for a right click as for the question mark.
    QPushButton* saveIco = test::Control<QPushButton>(*d, "cmdSaveIco");
    EXPECT_EQ(test::AskForHelp(saveIco, Qt::RightButton), "") << "no menu opens";
    ASSERT_FALSE(ui.popups.empty());
    EXPECT_EQ(ui.popups.back().text, TopicText(b.window.language(), TopicDetailsSaveIco));
    EXPECT_EQ(saveIco->whatsThis(), ui.popups.back().text);

    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_EQ(b.browser.detailsWindow(), nullptr);
    EXPECT_EQ(ui.messages.size(), 1u) << "no report";
}

} // namespace
} // namespace vesmarin
