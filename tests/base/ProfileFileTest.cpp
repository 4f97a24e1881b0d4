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
#include <tuple>

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

TEST_F(ProfileFileTest, ReadFindsTheValueOrTheDefault) {
    // The file (none: no file at all), the buffer size and the value of Levels in [Options]; "dflt" is the
    // default.
    const std::tuple<std::optional<QByteArray>, int, const char*> cases[] = {
        {std::nullopt, 5, "dflt"},
        {"[General]\nLevels=5\n", 5, "dflt"},
        {"[Options]\nOther=5\n", 5, "dflt"},
        {"[Options]\nOther=5\n[General]\nLevels=5\n", 5, "dflt"},   // the key of the next section
        {"  [ Options ]  \n  Levels  =  7  \n", 5, "7"},            // blanks around names and value
        {"[Options]\n;Levels=1\n  ; Levels=3\nLevels=2\n", 5, "2"}, // comment lines
        {";[Options]\nLevels=1\n", 5, "dflt"},
        {"[Options]\nLevels=1\nLevels=2\n[Options]\nLevels=3\n", 5, "1"}, // the first of duplicates
        {"[Options]\nLevels=\"/x\n", 5, "\"/x"},                          // an unmatched quote stays
        {"\xEF\xBB\xBF[Options]\nLevels=3\n", 5, "3"},                    // a byte-order mark
        {"[Options]\nLevels=123456\n", 5, "1234"},                        // cut to the buffer less one
        {"[Options]\nLevels=12\xF0\x9F\x98\x80\n", 4, "12"}};             // a cut never halves a pair
    for (const auto& [content, buffer, expected] : cases) {
        QFile::remove(file());
        if (content)
            store(*content);
        EXPECT_EQ(GetProfileString("Options", "Levels", "dflt", buffer, file()).toStdString(), expected)
            << content.value_or("<no file>").toStdString();
    }
}

// Every value written to K in [S] reads back as it was; a write that is refused (no "after") leaves the file
// alone.
TEST_F(ProfileFileTest, WriteChangesOnlyWhatItMust) {
    // A lone half of a surrogate pair would not come back as it was, and a line break would forge lines.
    const QByteArray brokenUtf16 = Utf16(u"\uFEFF[S]\nK=") + QByteArray("\x00\xD8", 2) + Utf16(u"\n");
    const std::tuple<std::optional<QByteArray>, const char*, std::optional<QByteArray>> cases[] = {
        {std::nullopt, "5", "[S]\nK=5\n"},
        {"; top\n[s]\n  k = 3\nOther=x\n", "12", "; top\n[s]\n  k = 12\nOther=x\n"}, // in place, as spelt
        {"[S]\nA=0\n\n[T]\nA=1\n", "/x=1;y", "[S]\nA=0\nK=/x=1;y\n\n[T]\nA=1\n"}, // at the end of its section
        {"[T]\nA=0\n", "3", "[T]\nA=0\n\n[S]\nK=3\n"},                            // a new section at the end
        {"[S]\nA=0", "", "[S]\nA=0\nK=\n"},                                       // the last line ended
        {"[T]\r\nA=0", "4", "[T]\r\nA=0\r\n\r\n[S]\r\nK=4\r\n"},
        {"[T]\rA=0\r", "4", "[T]\rA=0\r\r[S]\rK=4\r"},
        {std::nullopt, " /a ", "[S]\nK=\" /a \"\n"}, // outer blanks and quotes survive in quotes
        {"[S]\nK=/b\n", "'/a'", "[S]\nK=\"'/a'\"\n"},
        {std::nullopt, "\"q\"", "[S]\nK=\"\"q\"\"\n"},
        {"; caf\xE9 \xFF\xFE\n[S]\nK=1\n", "/caf\xE9", "; caf\xE9 \xFF\xFE\n[S]\nK=/caf\xE9\n"}, // not UTF-8
        {Utf16(u"\uFEFF[T]\r\nA=0\r\n"), "4", Utf16(u"\uFEFF[T]\r\nA=0\r\n\r\n[S]\r\nK=4\r\n")},
        {Utf16(u"\uFEFF[S]\nK=/a\n", true), "/Ελένη", Utf16(u"\uFEFF[S]\nK=/Ελένη\n", true)},
        {brokenUtf16, "1", std::nullopt},
        {"[S]\nA=0\n", "/x\n[T]\nK=9", std::nullopt}};
    for (const auto& [before, bytes, after] : cases) {
        SCOPED_TRACE(before.value_or("<no file>").toStdString() + " <- " + bytes);
        QFile::remove(file());
        if (before)
            store(*before);
        const QString value = FileNameFromBytes(bytes);
        EXPECT_EQ(WriteProfileString("S", "K", value, file()), after.has_value());
        EXPECT_EQ(test::ReadFile(file()), after ? *after : *before);
        if (after) {
            EXPECT_EQ(GetProfileString("s", "k", "d", 1024, file()), value);
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
