#include "base/PathText.h"

#include <gtest/gtest.h>

namespace vesmarin {
namespace {

TEST(SeparatorProcedures, EdgesForBothSeparators) {
    struct Case {
        QChar sep;
        QString path, appended, removed, last;
    } cases[] = {
        {u'\\', "C:", "C:\\", "C:", ""},
        {u'\\', "C:\\", "C:\\", "C:", ""},
        {u'\\', "", "\\", "", ""},
        {u'\\', "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM\\", "C:\\WINDOWS\\SYSTEM", "SYSTEM"},
        {u'\\', "C:\\WINDOWS\\", "C:\\WINDOWS\\", "C:\\WINDOWS", ""},
        {u'\\', "C:\\WINDOWS\\\\", "C:\\WINDOWS\\\\", "C:\\WINDOWS\\", ""},
        {u'\\', "/usr", "/usr\\", "/usr", ""}, // the other separator is an ordinary character
        {u'/', "/", "/", "", ""},
        {u'/', "/usr", "/usr/", "/usr", "usr"},
        {u'/', "/usr/share/", "/usr/share/", "/usr/share", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(AppendSeparator(c.path, c.sep), c.appended);
        EXPECT_EQ(RemoveSeparator(c.path, c.sep), c.removed);
        EXPECT_EQ(GetLastSegment(c.path, c.sep), c.last);
    }
}

// Text from UTF-16 code units, lone surrogates included (which \u escapes cannot name).
QString U16(const char16_t* units) {
    return QString::fromUtf16(units);
}

// Folder names are bytes: valid UTF-8 reads as text, anything else survives the trip to text and back.
TEST(FileNameBytes, EveryByteStringComesBackUnchanged) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text; // what the tree shows and compares
    } cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileNameFromBytes(c.bytes), c.text);
        EXPECT_EQ(FileNameToBytes(c.text), c.bytes);
    }
    // Every two-byte string, which covers each lead byte followed by every possible next byte.
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            const char raw[] = {char(a), char(b), char(0x80), char(0xBF)};
            const QByteArray bytes(raw, sizeof raw);
            ASSERT_EQ(FileNameToBytes(FileNameFromBytes(bytes)), bytes) << a << " " << b;
        }
    // A lone surrogate that stands for no byte is written as U+FFFD, as any UTF-8 writer does.
    EXPECT_EQ(FileNameToBytes(U16(u"a\xDBFF!")), QByteArray("a\xEF\xBF\xBD!"));
}

// `vesmarin FOLDER`: the folder named on the command line, as the tree takes it.
TEST(FolderFromArgument, ResolvesAgainstTheWorkingFolderByTheTextAlone) {
    struct Case {
        QByteArray argument, workingFolder;
        QString folder;
    } cases[] = {
        {"", "/home/ann", ""}, // no folder given
        {"/srv/icons", "/home/ann", "/srv/icons"},
        {"icons", "/home/ann", "/home/ann/icons"},
        {".", "/home/ann", "/home/ann"},
        {"./a/../b/", "/home/ann", "/home/ann/b"},
        {"../../../..", "/home/ann", "/"},
        {"//srv///icons//", "/", "/srv/icons"},
        {"/", "/home/ann", "/"},
        {"...", "/", "/..."}, // only "." and ".." are special
        {"caf\xE9", "/old/\xFF", U16(u"/old/\xDCFF/caf\xDCE9")},
        {"\xCE\x88\xCF\x81\xCE\xB3\xCE\xB1", "/", QStringLiteral("/Έργα")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        EXPECT_EQ(FolderFromArgument(c.argument, c.workingFolder), c.folder);
    }
}

} // namespace
} // namespace vesmarin
