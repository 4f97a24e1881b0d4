// The texts of icon export, without a window (the bitmap file: tests/paths/FileWrites_test.cpp).

#include "browse/core/IconExport.h"

#include <gtest/gtest.h>

namespace vesmarin {
namespace {

TEST(CountMessage, BothLanguagesSingularAndPlural) {
    struct Case {
        std::int64_t n;
        const char* english;
        const char* greek;
    };
    const Case cases[] = {
        {1, "1 icon located.", "Εντοπίσθηκε 1 εικονίδιο."},
        {2, "2 icons located.", "Εντοπίσθηκαν 2 εικονίδια."},
        {205, "205 icons located.", "Εντοπίσθηκαν 205 εικονίδια."},
        {40000, "40000 icons located.", "Εντοπίσθηκαν 40000 εικονίδια."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CountMessage(c.n, false), QString::fromUtf8(c.english));
        EXPECT_EQ(CountMessage(c.n, true), QString::fromUtf8(c.greek));
    }
}

TEST(IconFileName, SevenDigitsAtLeast) {
    EXPECT_EQ(IconFileName(5), QStringLiteral("I0000005.bmp"));
    EXPECT_EQ(IconFileName(1234), QStringLiteral("I0001234.bmp"));
    EXPECT_EQ(IconFileName(12345678), QStringLiteral("I12345678.bmp"));
}

TEST(ExtensionRule, BmpInAnyCaseKeptNoneAddedOthersRefused) {
    struct Case {
        const char* chosen;
        const char* saved; // nullptr: refused
    };
    const Case cases[] = {
        {"/home/ann/I0000005", "/home/ann/I0000005.bmp"},
        {"/home/ann/mine.bmp", "/home/ann/mine.bmp"},
        {"/home/ann/mine.BMP", "/home/ann/mine.BMP"},
        {"/home/ann/mine.Bmp", "/home/ann/mine.Bmp"},
        {"/home/ann/mine.", "/home/ann/mine.bmp"},
        {"/home/ann.old/mine", "/home/ann.old/mine.bmp"},
        {"/home/ann/mine.ico", nullptr},
        {"/home/ann/mine.ICO", nullptr},
        {"/home/ann/mine.bmp.png", nullptr},
        {"/home/ann/mine.bmpx", nullptr},
    };
    for (const Case& c : cases) {
        const auto saved = WithBitmapExtension(QString::fromUtf8(c.chosen));
        if (c.saved == nullptr)
            EXPECT_FALSE(saved.has_value()) << c.chosen;
        else
            EXPECT_EQ(saved.value_or(QStringLiteral("<refused>")), QString::fromUtf8(c.saved)) << c.chosen;
    }
}

TEST(FolderChoice, FolderOfTheReturnedName) {
    EXPECT_EQ(FolderOfChosenFile(QStringLiteral("/home/ann/ICONS/do not alter this text.bmp")),
              QStringLiteral("/home/ann/ICONS/"));
    EXPECT_EQ(FolderOfChosenFile(QStringLiteral("/do not alter this text.bmp")), QStringLiteral("/"));
    // A folder whose name holds the file's name is kept whole.
    EXPECT_EQ(FolderOfChosenFile(QStringLiteral("/x.bmp/x.bmp")), QStringLiteral("/x.bmp/"));
}

// The second line of a tooltip names what the file kind has; the sizes come once each, smallest first.
TEST(IconTexts, TooltipNamesWhatTheFileKindHasAndEachSizeOnce) {
    const std::vector<QSize> sizes{{48, 48}, {16, 16}, {48, 48}, {32, 32}};
    const struct {
        IconOrigin origin;
        bool greek;
        const char* second;
    } rows[] = {
        {{"/p/a.exe", 3, "APP", -1, 1032}, true, "Εικονίδιο 3, πόρος «APP», γλώσσα 1032"},
        {{"/p/a.exe", 0, "", 103, -1}, false, "Icon 0, group 103"}, // NE: no languages
        {{"/p/a.ico", 0, "", -1, -1}, false, "Icon 0"},
    };
    for (const auto& row : rows) {
        const QStringList lines = IconToolTip(row.origin, sizes, row.greek).split(u'\n');
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[0], row.origin.file);
        EXPECT_EQ(lines[1], QString::fromUtf8(row.second));
        EXPECT_TRUE(lines[2].endsWith(QStringLiteral(": 16 × 16, 32 × 32, 48 × 48")))
            << lines[2].toStdString();
    }
}

TEST(IconTexts, SaveAllTellsHowManyWereSavedWhereAndWhichWereNot) {
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
