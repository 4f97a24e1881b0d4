// The icon menu of the grid through the real main window: the bitmap and ICO files it writes and what a
// failed write leaves, Save all, Copy, the keyboard, the tooltips and the details window. (The whole-program
// tests take Save, Copy, Save as, Save as PNG, Save all and the menu keys through the real menu and dialogs.)

#include "BrowseWindowRig.h"
#include "base/HelpFile.h"
#include "browse/IconDetailsDialog.h"
#include "browse/core/IconExport.h"
#include "platform/iconwriter/IconWriter.h"
#include "support/FileSizeLimit.h"
#include "ui/WhatsThisHelp.h"

#include <QHelpEvent>
#include <QToolTip>
#include <optional>
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
    std::string first = b.path(QStringLiteral("a/app.exe")).toStdString();

    void SetUp() override {
        for (char f = 'a'; f <= 'h'; ++f)
            test::WriteBytes(b.path(QStringLiteral("%1/app.exe").arg(QLatin1Char(f))), Program());
        b.load(false, "IconSavePath=" + folder.toStdString() + "\n");
        ASSERT_EQ(b.press(), QStringLiteral("16 icons located."));
    }
    QString in(const char* name) const { return folder + QString::fromLatin1(name); }
    QStringList files(const QString& in = {}) const {
        return QDir(in.isEmpty() ? folder : in).entryList(QDir::Files | QDir::Hidden);
    }
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

// A failed save is reported with its handler's code, never taken for success, and leaves what was there.
TEST_F(IconMenu, AFailedSaveIsReportedAndLeavesTheOldFile) {
    // The item; whether the folder is gone (else the disk is full); the name chosen in its dialog; the
    // report.
    const std::tuple<const char*, bool, const char*, const char*, int> cases[] = {
        {"mnuIconsSave", true, nullptr, "Vesmarin, 200.", 76},
        {"mnuIconsSaveAs", false, "I0000005.bmp", "Vesmarin, 201.", 75},
        {"mnuIconsSavePng", true, "gone/app.exe~3-0.png", "Vesmarin, 203.", 76},
        {"mnuIconsSaveIco", false, "I0000005.bmp", "Vesmarin, 204.", 75},
    };
    test::WriteFile(in("I0000005.bmp"), "older");
    for (const auto& [item, gone, answer, title, error] : cases) {
        b.browser.setIconFolder(gone ? in("gone/") : folder);
        if (answer)
            ui.answerDialog(in(answer));
        ui.answer(MsgButton::No); // end the program?
        {
            test::FileSizeLimit full(gone ? RLIM_INFINITY : 2);
            b.choose(5, item);
        }
        EXPECT_EQ(told().title, QString::fromLatin1(title));
        EXPECT_TRUE(told().text.startsWith(QStringLiteral("Error condition %1 ").arg(error)));
        EXPECT_EQ(test::ReadFile(in("I0000005.bmp")), "older");
        EXPECT_EQ(files(), QStringList{QStringLiteral("I0000005.bmp")});
        EXPECT_FALSE(QDir(in("gone")).exists());
    }
}

// Save as and Save as ICO ask before replacing. Save as refuses another extension and opens its dialog again,
// and adds .bmp to a name without; Cancel writes nothing. Save as ICO offers the program's name and writes
// the whole group as stored. (Save as PNG: NewUser.sh.)
TEST_F(IconMenu, SaveAsRefusesAnotherExtensionAndSaveAsIcoWritesTheGroupAsStored) {
    ui.answerDialog(in("mine.ico"));
    ui.answer(MsgButton::Ok);
    ui.answerDialog(in("mine"));
    b.choose(5, "mnuIconsSaveAs");
    ui.answerDialog(std::nullopt);
    b.choose(6, "mnuIconsSaveAs");
    ui.answerDialog(in("saved"));
    b.choose(1, "mnuIconsSaveIco");

    ASSERT_EQ(ui.dialogs.size(), 4u);
    EXPECT_EQ((QStringList{ui.dialogs[1].request.initialPath, ui.dialogs[3].request.initialPath}),
              (QStringList{in("I0000005"), in("app.exe-0.ico")}))
        << "the dialog opens as before";
    EXPECT_TRUE(ui.dialogs[0].request.confirmOverwrite && ui.dialogs[3].request.confirmOverwrite);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].request.text, QStringLiteral("You may not alter the '.bmp' extension."));
    EXPECT_EQ(files(), (QStringList{"mine.bmp", "saved"}));
    EXPECT_EQ(bitmap("mine.bmp"), b.grid.picture(0, 4));
    EXPECT_EQ(test::ReadFile(in("saved")),
              Bytes(iconwriter::encodeIco(*iconreader::IconFile(first).storedGroup(0))));
}

// The chosen icon folder is used and stored; Cancel in its dialog changes nothing. A folder the settings file
// cannot take is reported and not used, not kept for this run only.
TEST_F(IconMenu, ChosenIconFolderIsRememberedAndUsed) {
    const std::string iniBefore = b.m.ini();
    auto* choose = b.m.control<QAction>("mnuSavePathIcons");
    ui.answerDialog(std::nullopt);
    choose->trigger();
    EXPECT_EQ(std::tuple(b.browser.iconFolder(), b.m.ini()), std::tuple(folder, iniBefore));

    QTemporaryDir other;
    const QString chosen = other.path() + u'/';
    ui.answerDialog(chosen + QStringLiteral("do not alter this text.bmp"));
    choose->trigger();
    EXPECT_EQ(std::tuple(b.browser.iconFolder(), b.m.iniValue("IconSavePath")),
              std::tuple(chosen, chosen.toStdString()));
    b.choose(5, "mnuIconsSave");
    EXPECT_TRUE(QFile::exists(chosen + QStringLiteral("I0000005.bmp")));

    const std::string iniNow = b.m.ini();
    ASSERT_TRUE(QFile::setPermissions(b.m.iniFile(), QFile::ReadOwner));
    ui.answerDialog(in("do not alter this text.bmp"));
    ui.answer(MsgButton::No); // the error report: go on
    choose->trigger();
    EXPECT_EQ(told().title, QStringLiteral("Vesmarin, 196."));
    EXPECT_EQ(std::tuple(b.browser.iconFolder(), b.m.ini()), std::tuple(chosen, iniNow));
}

// The left or middle button opens the menu of a filled cell; beside the cells, that of the icon clicked
// last. The right button asks for help, and an empty cell has no menu. Save names its file while the menu is
// open and replaces a file of that name without a question, with the cell's picture, the whole drawing
// surface: the icon on the system window colour.
TEST_F(IconMenu, MenuOnlyForAFilledCellAndSaveReplacesTheNumberedFile) {
    test::WriteFile(in("I0000016.bmp"), "an older picture");
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
            ui.chooseMenuItem(QStringLiteral("mnuIconsSave"));
        if (beside)
            QTest::mouseClick(b.grid.viewport(), button, {}, at);
        else
            b.click(at.y(), at.x(), button);
        ASSERT_EQ(ui.menus.size(), menuFor != 0 ? 1u : 0u);
        for (const auto& menu : ui.menus)
            EXPECT_EQ(menu.captions.at(0), saveCaption(menuFor));
    }
    EXPECT_EQ(ui.menus[0].captions.mid(1),
              (QStringList{"Save as...", "-", "Copy", "-", "Help", "-", "Cancel", "-", "Save as PNG...",
                           "Save as ICO...", "Save all icons of this set...", "Details..."}));
    EXPECT_EQ(ui.messages.size(), 1u) << "no question before replacing";
    EXPECT_EQ(files(), QString("I0000001.bmp I0000003.bmp I0000016.bmp").split(u' ')) << "no temporary file";
    const QImage saved = bitmap("I0000016.bmp");
    EXPECT_EQ(saved, b.grid.picture(1, 2));
    EXPECT_EQ(saved.pixel(0, 0), QApplication::palette().color(QPalette::Base).rgb());
}

// The keyboard reaches the filled cells only, in reading order. Ctrl+C copies the current cell's picture; on
// an empty cell it does nothing. (Screens.sh opens the menu with the menu key, Shift+F10 and Return.)
TEST_F(IconMenu, KeysMoveBetweenTheFilledCellsAndCopyTheCurrentOne) {
    for (const char* move :
         {"13 Right 14", "14 Left 13", "16 Right 16", "1 Left 1", "2 Down 15", "9 Down 16", "16 Up 3",
          "15 Home 14", "2 End 13", "15 End 16", "2 Ctrl+End 16", "9 PgDown 16", "15 PgUp 2"}) {
        const QStringList from_key_to = QString::fromLatin1(move).split(u' ');
        setCurrent(from_key_to[0].toInt());
        press(from_key_to[1]);
        EXPECT_EQ(b.grid.currentRow() * 13 + b.grid.currentColumn() + 1, from_key_to[2].toInt()) << move;
    }
    EXPECT_TRUE(ui.menus.empty());

    b.click(1, 9); // an empty cell: no menu, but it is current
    press(QStringLiteral("Ctrl+C"));
    EXPECT_FALSE(ui.clipboard.has_value());
    setCurrent(5);
    press(QStringLiteral("Ctrl+C"));
    EXPECT_EQ(ui.clipboard.value_or(QImage()).convertToFormat(QImage::Format_RGB32), b.grid.picture(0, 4));
}

// The names vesmarin-icons export gives, the programs of one name told apart; a file that cannot be written
// is named in the closing message and keeps the rest going. (NewUser.sh saves a set as PNG.)
TEST_F(IconMenu, SaveAllWritesTheSetUnderTheExportNamesAndNamesWhatFailed) {
    QTemporaryDir into;
    const QString readOnly = QStringLiteral("app.exe~2-1.ico");
    test::WriteFile(into.filePath(readOnly), "kept");
    QFile::setPermissions(into.filePath(readOnly), QFile::ReadOwner);

    ui.answerFolder(FolderChoice{into.path(), 1}); // ICO
    ui.answer(MsgButton::Ok);
    b.choose(3, "mnuIconsSaveAll");

    EXPECT_EQ(ui.folderDialogs.at(0).initialFolder, folder);
    EXPECT_EQ(files(into.path()).size(),
              16); // app.exe-0.ico, app.exe-1.ico, app.exe~2-0.ico ... app.exe~8-1.ico
    EXPECT_EQ(told().icon, MsgIcon::Critical);
    EXPECT_TRUE(told().text.startsWith(QStringLiteral("15 of 16 icons saved in ") + into.path()));
    EXPECT_TRUE(told().text.endsWith("\r\n" + readOnly + ": Permission denied")) << told().text.toStdString();
    EXPECT_EQ(test::ReadFile(into.filePath(readOnly)), "kept");
    EXPECT_EQ(test::ReadFile(into.filePath("app.exe~8-0.ico")),
              Bytes(iconwriter::encodeIco(*iconreader::IconFile(first).storedGroup(0))));
}

// The whole tooltip is the export texts' test; here, which icon it is for and that it follows the language.
TEST_F(IconMenu, ATooltipTellsWhereTheHoveredIconComesFromInTheLanguageInForce) {
    const auto hover = [this](int row, int column) {
        const QPoint at = b.grid.visualRect(b.grid.model()->index(row, column)).center();
        QHelpEvent event(QEvent::ToolTip, at, b.grid.viewport()->mapToGlobal(at));
        QApplication::sendEvent(b.grid.viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text().split(u'\n') : QStringList();
    };
    EXPECT_EQ(hover(0, 3).mid(0, 2), (QStringList{b.path(QStringLiteral("b/app.exe")),
                                                  QStringLiteral("Icon 1, group 2, language 1033")}));
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

    // In the language in force, help too, for a right click as for the question mark.
    b.m.control<QPushButton>("cmdLanguage", 0)->click();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Λεπτομέρειες εικονιδίου"));
    EXPECT_EQ(test::AskForHelp(test::Control<QPushButton>(*d, "cmdSaveIco"), Qt::RightButton), "");
    EXPECT_EQ(ui.popups.at(0).text, TopicText(b.window.language(), TopicDetailsSaveIco));

    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_EQ(b.browser.detailsWindow(), nullptr);
}

} // namespace
} // namespace vesmarin
