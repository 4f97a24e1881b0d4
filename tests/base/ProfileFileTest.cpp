#include "base/ProfileFile.h"

#include "base/PathText.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>

namespace vesmarin {
namespace {

// The bytes of a text in UTF-16, as some editors save a settings file.
QByteArray Utf16(std::u16string_view text, bool bigEndian = false) {
    return QStringEncoder(bigEndian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE)(QStringView(text));
}

class ProfileFileTest : public ::testing::Test {
protected:
    QString file() const { return dir.filePath(QStringLiteral("Tembrill.ini")); }
    void store(const QByteArray& content) const { test::WriteFile(file(), content); }
    QTemporaryDir dir;
};

struct ReadCase {
    const char* name;
    std::optional<QByteArray> file; // nullopt: no file at all
    const char* section;
    const char* key;
    int buffer;
    const char* expected; // the default is "dflt"
};

TEST_F(ProfileFileTest, ReadFindsTheValueOrTheDefault) {
    const ReadCase cases[] = {
        {"no_file", std::nullopt, "Options", "Levels", 5, "dflt"},
        {"no_section", "[General]\nLevels=5\n", "Options", "Levels", 5, "dflt"},
        {"no_key", "[Options]\nOther=5\n", "Options", "Levels", 5, "dflt"},
        {"key_of_the_next_section", "[Options]\nOther=5\n[General]\nLevels=5\n", "Options", "Levels", 5,
         "dflt"},
        {"blanks_around_names_and_value", "  [ Options ]  \n  Levels  =  7  \n", "Options", "Levels", 5, "7"},
        {"comment_line", "[Options]\n;Levels=1\n  ; Levels=3\nLevels=2\n", "Options", "Levels", 5, "2"},
        {"commented_section", ";[Options]\nLevels=1\n", "Options", "Levels", 5, "dflt"},
        {"first_duplicate_wins", "[Options]\nLevels=1\nLevels=2\n[Options]\nLevels=3\n", "Options", "Levels",
         5, "1"},
        {"unmatched_quote_stays", "[General]\nInitialPath=\"/x\n", "General", "InitialPath", 1024, "\"/x"},
        {"byte_order_mark", "\xEF\xBB\xBF[Options]\nLevels=3\n", "Options", "Levels", 5, "3"},
        {"cut_to_buffer_less_one", "[Options]\nLevels=123456\n", "Options", "Levels", 5, "1234"},
        {"cut_never_halves_a_pair", "[Options]\nLevels=12\xF0\x9F\x98\x80\n", "Options", "Levels", 4, "12"}};
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file());
        if (c.file)
            store(*c.file);
        EXPECT_EQ(GetProfileString(QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                   QStringLiteral("dflt"), c.buffer, file())
                      .toStdString(),
                  c.expected);
    }
}

struct WriteCase {
    const char* name;
    std::optional<QByteArray> before;
    const char* section;
    const char* key;
    const char* value; // bytes, as a folder name may hold them
    QByteArray after;
    bool written = true;
};

// Every value written reads back as it was.
TEST_F(ProfileFileTest, WriteChangesOnlyWhatItMust) {
    const WriteCase cases[] = {
        {"creates_the_file", std::nullopt, "Options", "Levels", "5", "[Options]\nLevels=5\n"},
        {"replaces_in_place_keeping_spelling_and_blanks", "; top\n[options]\n  LEVELS = 3\nOther=x\n",
         "Options", "Levels", "12", "; top\n[options]\n  LEVELS = 12\nOther=x\n"},
        {"new_key_at_end_of_its_section", "[General]\nLanguage=0\n\n[Options]\nA=1\n", "General",
         "InitialPath", "/x=1;y", "[General]\nLanguage=0\nInitialPath=/x=1;y\n\n[Options]\nA=1\n"},
        {"new_section_at_end", "[General]\nLanguage=0\n", "Options", "WhatToBrowse", "3",
         "[General]\nLanguage=0\n\n[Options]\nWhatToBrowse=3\n"},
        {"last_line_without_break_extended", "[General]\nLanguage=0", "General", "X", "",
         "[General]\nLanguage=0\nX=\n"},
        {"keeps_windows_line_breaks_and_ends_the_last_line", "[General]\r\nLanguage=0", "Options", "Levels",
         "4", "[General]\r\nLanguage=0\r\n\r\n[Options]\r\nLevels=4\r\n"},
        {"keeps_lone_cr_line_breaks", "[General]\rLanguage=0\r", "Options", "Levels", "4",
         "[General]\rLanguage=0\r\r[Options]\rLevels=4\r"},
        {"outer_blanks_survive_in_quotes", std::nullopt, "General", "InitialPath", " /a ",
         "[General]\nInitialPath=\" /a \"\n"},
        {"outer_quotes_survive_in_quotes", "[General]\nInitialPath=/b\n", "General", "InitialPath", "'/a'",
         "[General]\nInitialPath=\"'/a'\"\n"},
        {"outer_double_quotes_too", std::nullopt, "General", "InitialPath", "\"q\"",
         "[General]\nInitialPath=\"\"q\"\"\n"},
        {"bytes_that_are_not_utf8_kept", "; caf\xE9 \xFF\xFE\n[General]\nX=1\n", "General", "X", "/caf\xE9",
         "; caf\xE9 \xFF\xFE\n[General]\nX=/caf\xE9\n"},
        {"keeps_utf16_and_its_line_breaks", Utf16(u"\uFEFF[General]\r\nLanguage=0\r\n"), "Options", "Levels",
         "4", Utf16(u"\uFEFF[General]\r\nLanguage=0\r\n\r\n[Options]\r\nLevels=4\r\n")},
        {"keeps_utf16_big_endian", Utf16(u"\uFEFF[General]\nInitialPath=/a\n", true), "General",
         "InitialPath", "/Ελένη", Utf16(u"\uFEFF[General]\nInitialPath=/Ελένη\n", true)},
        // A lone half of a surrogate pair would not come back as it was: such a file is left alone.
        {"broken_utf16_left_alone", Utf16(u"\uFEFF[General]\nX=") + QByteArray("\x00\xD8", 2) + Utf16(u"\n"),
         "General", "X", "1", Utf16(u"\uFEFF[General]\nX=") + QByteArray("\x00\xD8", 2) + Utf16(u"\n"),
         false},
        // A line break would forge lines of its own.
        {"line_break_refused", "[General]\nLanguage=0\n", "General", "InitialPath", "/x\n[Options]\nLevels=9",
         "[General]\nLanguage=0\n", false}};
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file());
        if (c.before)
            store(*c.before);
        const QString section = QString::fromUtf8(c.section), key = QString::fromUtf8(c.key);
        const QString value = FileNameFromBytes(c.value);
        EXPECT_EQ(WriteProfileString(section, key, value, file()), c.written);
        EXPECT_EQ(test::ReadFile(file()), c.after);
        if (c.written) {
            EXPECT_EQ(GetProfileString(section.toLower(), key.toUpper(), QStringLiteral("d"), 1024, file()),
                      value);
        }
    }
}

// A file that has not changed for a while is read once and kept; any later change must still be seen, by
// the reads and by the writes, which build on what the file holds now: rewritten in place with the same
// size and time, grown, or replaced by another file of the same size and time.
TEST_F(ProfileFileTest, AChangedFileIsReadAgain) {
    const auto age = [](const QString& f) {
        const timespec then{std::time(nullptr) - 100, 0}, times[2] = {then, then};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(f).constData(), times, 0), 0);
    };
    const auto language = [&] {
        return GetProfileString(QStringLiteral("General"), QStringLiteral("Language"), QString(), 5, file());
    };
    const QString other = file() + QStringLiteral(".new");
    for (const bool replaced : {false, true}) {
        for (const QByteArray changed : {"[General]\nLanguage=1\n", "[General]\nLanguage=1 \n"}) {
            SCOPED_TRACE(std::string(replaced ? "replaced: " : "in place: ") + changed.constData());
            store("[General]\nLanguage=0\n");
            age(file());
            ASSERT_EQ(language(), QStringLiteral("0"));
            test::WriteFile(replaced ? other : file(), changed);
            age(replaced ? other : file());
            if (replaced) {
                ASSERT_EQ(
                    std::rename(QFile::encodeName(other).constData(), QFile::encodeName(file()).constData()),
                    0);
            }
            EXPECT_EQ(language(), QStringLiteral("1"));
            ASSERT_TRUE(WriteProfileString(QStringLiteral("General"), QStringLiteral("X"),
                                           QStringLiteral("2"), file()));
            EXPECT_EQ(test::IniValue(test::ReadFile(file()).toStdString(), "Language").substr(0, 1), "1");
        }
    }
}

} // namespace
} // namespace vesmarin
