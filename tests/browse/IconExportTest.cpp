// The texts and names of icon export, without a window.

#include "browse/core/IconExport.h"

#include <gtest/gtest.h>

namespace vesmarin {
namespace {

TEST(IconExportTexts, CountsNamesAndFolders) {
    // (The English counts: the icon set tests.)
    EXPECT_EQ(CountMessage(1, true), "Εντοπίσθηκε 1 εικονίδιο.");
    EXPECT_EQ(CountMessage(40000, true), "Εντοπίσθηκαν 40000 εικονίδια.");
    EXPECT_EQ(IconFileName(12345678), "I12345678.bmp"); // I0000005.bmp and so on: the icon menu tests
    EXPECT_EQ(FolderOfChosenFile("/do not alter this text.bmp"), "/");
    EXPECT_EQ(FolderOfChosenFile("/x.bmp/x.bmp"), "/x.bmp/"); // a folder named as the file is kept whole
    EXPECT_EQ(SaveAllMessage(1, 1, "/f %1", {}, false), "1 icon saved in /f %1.");
    EXPECT_EQ(SaveAllMessage(2, 2, "/f %1", {}, true), "Αποθηκεύθηκαν 2 εικονίδια στον φάκελλο /f %1.");
    EXPECT_EQ(SaveAllMessage(1, 3, "/f", {"a-1.png: Permission denied", "a-2.png: damaged"}, false),
              "1 of 3 icons saved in /f.\r\nNot saved:\r\na-1.png: Permission denied\r\na-2.png: damaged");
}

TEST(IconExportTexts, BmpInAnyCaseKeptNoneAddedOthersRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"/a/mine.BMP", "/a/mine.BMP"}, {"/a/mine.", "/a/mine.bmp"},      {"/a.old/mine", "/a.old/mine.bmp"},
        {"/a/mine.ico", "<refused>"},   {"/a/mine.bmp.png", "<refused>"}, {"/a/mine.bmpx", "<refused>"}};
    for (const auto& [chosen, saved] : cases)
        EXPECT_EQ(WithBitmapExtension(QString::fromUtf8(chosen)).value_or("<refused>"),
                  QString::fromUtf8(saved));
}

// The second line of a tooltip names what the file kind has; the sizes come once each, smallest first.
TEST(IconExportTexts, TooltipNamesWhatTheFileKindHasAndEachSizeOnce) {
    const std::vector<QSize> sizes{{48, 48}, {16, 16}, {48, 48}, {32, 32}};
    const std::pair<IconOrigin, const char*> rows[] = {
        {{"/p/a.exe", 0, "", 103, -1}, "Icon 0, group 103"}, // NE: no languages
        {{"/p/a.ico", 0, "", -1, -1}, "Icon 0"},
    };
    for (const auto& [origin, second] : rows)
        EXPECT_EQ(IconToolTip(origin, sizes, false),
                  origin.file + '\n' + second + QStringLiteral("\nSizes: 16 × 16, 32 × 32, 48 × 48"));
}

} // namespace
} // namespace vesmarin
