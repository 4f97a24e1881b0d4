// The icon out of the window in other programs' forms: PNG and ICO through the icon menu, Save all, Copy
// with transparency, the tooltips and the details window, through the real main window. (The whole-program
// test takes Save as PNG and Save all through the real menu and dialogs.)

#include "BrowseWindowRig.h"
#include "base/HelpFile.h"
#include "browse/IconDetailsDialog.h"
#include "platform/iconwriter/IconWriter.h"
#include "support/RealDialogs.h"
#include "tools/IconsTool.h"
#include "ui/WhatsThisHelp.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <sstream>

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

// The bitmap with alpha of icon 1 comes out with it: transparent on the left, opaque red on the right.
void ExpectHalfTransparent(const QImage& half) {
    EXPECT_EQ(half.size(), QSize(32, 32));
    EXPECT_EQ(half.pixel(0, 0), 0x00000000u);
    EXPECT_EQ(half.pixel(31, 0), 0xFFFF0000u);
}

// Two programs of one name in folders of their own: a set of four icons, cells 1 and 2 from a/app.exe.
struct IconFiles : ::testing::Test {
    test::BrowseWindowRig b;
    QTemporaryDir out;
    QString folder = out.path() + u'/';
    std::string first = b.path(QStringLiteral("a/app.exe")).toStdString();
    std::string second = b.path(QStringLiteral("b/app.exe")).toStdString();

    void SetUp() override {
        for (const std::string& file : {first, second})
            test::WriteBytes(QString::fromStdString(file), Program());
        b.load(false, "IconSavePath=" + folder.toStdString() + "\n");
        ASSERT_EQ(b.press(), QStringLiteral("4 icons located."));
    }
    QStringList files(const QString& in) const { return QDir(in).entryList(QDir::Files | QDir::Hidden); }
};

TEST_F(IconFiles, PngAndIcoAsStoredThroughDialogsOfTheirOwnAndThePngOnTheClipboard) {
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
    ExpectHalfTransparent(QImage::fromData(rows[1].content, "PNG"));

    // Copy offers the cell's picture and beside it the PNG with its alpha.
    b.choose(2, "mnuIconsCopy");
    ASSERT_TRUE(b.m.ui.clipboard.has_value());
    EXPECT_EQ(*b.m.ui.clipboard, b.grid.picture(0, 1));
    ExpectHalfTransparent(QImage::fromData(b.m.ui.clipboardPng, "PNG"));
    EXPECT_EQ(b.m.ui.messages.size(), 1u) << "no report";
}

// The same names as vesmarin-icons export gives the same files, in either format, a second program of one
// name apart; a file that cannot be written is named in the closing message and keeps the rest going.
TEST_F(IconFiles, SaveAllWritesTheSetUnderTheExportNamesAndNamesWhatFailed) {
    for (const int choice : {0, 1}) {
        const QString format = choice == 0 ? QStringLiteral("png") : QStringLiteral("ico");
        SCOPED_TRACE(format.toStdString());
        QTemporaryDir into, cli;
        std::ostringstream ignored;
        ASSERT_EQ(tools::runIconsTool({"export", "--format", format.toStdString(), "--out",
                                       cli.path().toStdString(), first, second},
                                      ignored, ignored),
                  0);
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
        EXPECT_TRUE(told.text.startsWith(QStringLiteral("3 of 4 icons saved in ") + into.path()));
        EXPECT_TRUE(told.text.endsWith(QStringLiteral("\r\napp.exe~2-1.%1: Permission denied").arg(format)))
            << told.text.toStdString();
        if (choice == 0)
            EXPECT_EQ(test::ReadFile(into.filePath(QStringLiteral("app.exe~2-0.png"))),
                      Bytes(iconreader::IconFile(second).storedImagePng(0, 2)));
        else
            EXPECT_EQ(test::ReadFile(into.filePath(QStringLiteral("app.exe-0.ico"))),
                      Bytes(iconwriter::encodeIco(*iconreader::IconFile(first).storedGroup(0))));
    }
}

TEST_F(IconFiles, ATooltipTellsWhereTheHoveredIconComesFromInTheLanguageInForce) {
    const auto hover = [this](int cell) {
        const QPoint at = b.grid.visualRect(b.grid.model()->index(0, cell - 1)).center();
        QHelpEvent event(QEvent::ToolTip, at, b.grid.viewport()->mapToGlobal(at));
        QApplication::sendEvent(b.grid.viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text().split(u'\n') : QStringList();
    };
    EXPECT_EQ(hover(1), (QStringList{QString::fromStdString(first),
                                     QStringLiteral("Icon 0, group \"MAINICON\", language 1033"),
                                     QStringLiteral("Sizes: 16 × 16, 32 × 32, 512 × 512")}));
    EXPECT_EQ(hover(4).value(1), QStringLiteral("Icon 1, group 2, language 1033"));
    hover(5);
    QTest::qWait(400); // the toolkit lets a tip fade
    EXPECT_FALSE(QToolTip::isVisible()) << "an empty cell";
    b.m.control<QPushButton>("cmdLanguage", 0)->click();
    EXPECT_EQ(hover(1).value(1), QStringLiteral("Εικονίδιο 0, πόρος «MAINICON», γλώσσα 1033"));
}

TEST_F(IconFiles, DetailsShowTheOriginAndEveryImageToSaveOrCopyAndFollowTheLanguage) {
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
    EXPECT_EQ(text("lblGroup"), QStringLiteral("«MAINICON»"));
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
