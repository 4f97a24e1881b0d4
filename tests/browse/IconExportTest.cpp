// The texts and names of icon export, without a window.

#include "browse/core/IconExport.h"

#include <gtest/gtest.h>

namespace vesmarin {
namespace {

TEST(IconExportTexts, CountsAndFileNames) {
    EXPECT_EQ(CountMessage(1, false), QStringLiteral("1 icon located."));
    EXPECT_EQ(CountMessage(40000, false), QStringLiteral("40000 icons located."));
    EXPECT_EQ(CountMessage(1, true), QStringLiteral("Εντοπίσθηκε 1 εικονίδιο."));
    EXPECT_EQ(CountMessage(40000, true), QStringLiteral("Εντοπίσθηκαν 40000 εικονίδια."));
    EXPECT_EQ(IconFileName(5), QStringLiteral("I0000005.bmp"));
    EXPECT_EQ(IconFileName(12345678), QStringLiteral("I12345678.bmp"));
    EXPECT_EQ(FolderOfChosenFile(QStringLiteral("/do not alter this text.bmp")), QStringLiteral("/"));
    // A folder whose name holds the file's name is kept whole.
    EXPECT_EQ(FolderOfChosenFile(QStringLiteral("/x.bmp/x.bmp")), QStringLiteral("/x.bmp/"));
}

TEST(IconExportTexts, BmpInAnyCaseKeptNoneAddedOthersRefused) {
    const struct {
        const char* chosen;
        const char* saved; // nullptr: refused
    } cases[] = {
        {"/home/ann/I0000005", "/home/ann/I0000005.bmp"},
        {"/home/ann/mine.BMP", "/home/ann/mine.BMP"},
        {"/home/ann/mine.", "/home/ann/mine.bmp"},
        {"/home/ann.old/mine", "/home/ann.old/mine.bmp"},
        {"/home/ann/mine.ico", nullptr},
        {"/home/ann/mine.bmp.png", nullptr},
        {"/home/ann/mine.bmpx", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithBitmapExtension(QString::fromUtf8(c.chosen)).value_or(QStringLiteral("<refused>")),
                  c.saved ? QString::fromUtf8(c.saved) : QStringLiteral("<refused>"));
}

// The second line of a tooltip names what the file kind has; the sizes come once each, smallest first.
TEST(IconExportTexts, TooltipNamesWhatTheFileKindHasAndEachSizeOnce) {
    const std::vector<QSize> sizes{{48, 48}, {16, 16}, {48, 48}, {32, 32}};
    const struct {
        IconOrigin origin;
        const char* second;
    } rows[] = {
        {{"/p/a.exe", 0, "", 103, -1}, "Icon 0, group 103"}, // NE: no languages
        {{"/p/a.ico", 0, "", -1, -1}, "Icon 0"},
    };
    for (const auto& row : rows) {
        const QStringList lines = IconToolTip(row.origin, sizes, false).split(u'\n');
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[0], row.origin.file);
        EXPECT_EQ(lines[1], QString::fromUtf8(row.second));
        EXPECT_EQ(lines[2], QStringLiteral("Sizes: 16 × 16, 32 × 32, 48 × 48"));
    }
}

TEST(IconExportTexts, SaveAllTellsHowManyWereSavedWhereAndWhichWereNot) {
    const struct {
        int saved, total;
        QStringList failed;
        bool greek;
        const char* text;
    } rows[] = {
        {1, 1, {}, false, "1 icon saved in /f %1."},
        {2, 2, {}, true, "Αποθηκεύθηκαν 2 εικονίδια στον φάκελλο /f %1."},
        {1,
         3,
         {"a-1.png: Permission denied", "a-2.png: the icon is damaged"},
         false,
         "1 of 3 icons saved in /f %1.\r\nNot saved:\r\na-1.png: Permission denied\r\na-2.png: the icon is "
         "damaged"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SaveAllMessage(row.saved, row.total, QStringLiteral("/f %1"), row.failed, row.greek),
                  QString::fromUtf8(row.text));
}

} // namespace
} // namespace vesmarin
