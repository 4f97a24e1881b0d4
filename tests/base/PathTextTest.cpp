#include "base/PathText.h"

#include <gtest/gtest.h>
#include <tuple>

namespace vesmarin {
namespace {

TEST(SeparatorProcedures, EdgesForBothSeparators) {
    const std::tuple<QChar, QString, QString, QString, QString> cases[] = {
        {u'\\', "C:", "C:\\", "C:", ""},
        {u'\\', "", "\\", "", ""},
        {u'\\', "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM\\", "C:\\WINDOWS\\SYSTEM", "SYSTEM"},
        {u'\\', "C:\\WINDOWS\\\\", "C:\\WINDOWS\\\\", "C:\\WINDOWS\\", ""},
        {u'\\', "/usr", "/usr\\", "/usr", ""}, // the other separator is an ordinary character
        {u'/', "/", "/", "", ""},
        {u'/', "/usr", "/usr/", "/usr", "usr"},
        {u'/', "/usr/share/", "/usr/share/", "/usr/share", ""},
    };
    for (const auto& [sep, path, appended, removed, last] : cases) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(AppendSeparator(path, sep), appended);
        EXPECT_EQ(RemoveSeparator(path, sep), removed);
        EXPECT_EQ(GetLastSegment(path, sep), last);
    }
}

// Text from UTF-16 code units, lone surrogates included (which \u escapes cannot name).
const auto U16 = [](const char16_t* units) { return QString::fromUtf16(units); };

// Folder names are bytes: valid UTF-8 reads as text, anything else survives the trip to text and back.
TEST(FileNameBytes, EveryByteStringComesBackUnchanged) {
    // The bytes, and the text the tree shows and compares.
    const std::tuple<const char*, QByteArray, QString> cases[] = {
        {"ascii", "/home/ann", QStringLiteral("/home/ann")},
        {"greek", "/\xCE\x88\xCF\x81\xCE\xB3\xCE\xB1", QStringLiteral("/Έργα")},
        {"last before the surrogates", "\xED\x9F\xBF", U16(u"\xD7FF")},
        {"first outside the basic plane", "\xF0\x90\x80\x80", QString::fromUcs4(U"\U00010000")},
        {"latin-1", "caf\xE9", U16(u"caf\xDCE9")},
        {"stray continuation and 0xFF", "\x80x\xFF", U16(u"\xDC80x\xDCFF")},
        {"truncated sequence at the end", "a\xCE", U16(u"a\xDCCE")},
        {"overlong slash", "\xC0\xAF", U16(u"\xDCC0\xDCAF")},
        {"encoded surrogate", "\xED\xB3\xA9", U16(u"\xDCED\xDCB3\xDCA9")},
        {"past U+10FFFF", "\xF4\x90\x80\x80", U16(u"\xDCF4\xDC90\xDC80\xDC80")},
    };
    for (const auto& [name, bytes, text] : cases) {
        EXPECT_EQ(FileNameFromBytes(bytes), text) << name;
        EXPECT_EQ(FileNameToBytes(text), bytes) << name;
    }
    // Every two-byte string, which covers each lead byte followed by every possible next byte.
    for (int ab = 0; ab < 0x10000; ++ab) {
        const QByteArray bytes = QByteArray(1, char(ab >> 8)) + char(ab & 0xFF) + "\x80\xBF";
        ASSERT_EQ(FileNameToBytes(FileNameFromBytes(bytes)), bytes) << (ab >> 8) << " " << (ab & 0xFF);
    }
    // A lone surrogate that stands for no byte is written as U+FFFD, as any UTF-8 writer does.
    EXPECT_EQ(FileNameToBytes(U16(u"a\xDBFF!")), QByteArray("a\xEF\xBF\xBD!"));
}

// `vesmarin FOLDER`: the folder named on the command line, as the tree takes it.
TEST(FolderFromArgument, ResolvesAgainstTheWorkingFolderByTheTextAlone) {
    const std::tuple<QByteArray, QByteArray, QString> cases[] = {
        {"", "/home/ann", ""}, // no folder given
        {"/srv/icons", "/home/ann", "/srv/icons"},
        {"icons", "/home/ann", "/home/ann/icons"},
        {"./a/../b/", "/home/ann", "/home/ann/b"},
        {"../../../..", "/home/ann", "/"},
        {"//srv///icons//", "/", "/srv/icons"},
        {"...", "/", "/..."}, // only "." and ".." are special
        {"caf\xE9", "/old/\xFF", U16(u"/old/\xDCFF/caf\xDCE9")},
        {"\xCE\x88\xCF\x81\xCE\xB3\xCE\xB1", "/", QStringLiteral("/Έργα")},
    };
    for (const auto& [argument, workingFolder, folder] : cases)
        EXPECT_EQ(FolderFromArgument(argument, workingFolder), folder) << argument.toStdString();
}

} // namespace
} // namespace vesmarin
