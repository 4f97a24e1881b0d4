#include "language/HelpFile.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vesmarin;

namespace {

// Every control that has help, with its topic number, as the windows are designed.
struct TopicRow {
    const char* control;
    int topic;
};
const TopicRow kTopicTable[] = {
    {"tvwControl", 10010},
    {"lblCurrentPath", 10020},
    {"lblInfo", 10030},
    {"chkCaseSensitive", 10040},
    {"fraWhatToBrowse", 10050},
    {"chkWhatToBrowse(0)", 10060},
    {"chkWhatToBrowse(1)", 10070},
    {"fraLevels", 10080},
    {"cmdAll", 10090},
    {"updLevels", 10100},
    {"cmdHelp", 10110},
    {"cmdLanguage(0)", 10120},
    {"cmdLanguage(1)", 10130},
    {"picCopyright", 10140},
    {"lblCopyright", 10150},
    {"cmdRefresh", 10160},
    {"cmdUpOneLevel", 10170},
    {"cmdSavePath", 10180},
    {"cmdBrowse", 10190},
    {"cmdRecallPath", 10200},
    {"cmdEnd", 10210},
    {"grdControl", 10220},
    {"cmdScan", 10230},
    {"lstSavedPaths", 20010},
    {"cmdCancel", 20020},
    {"cmdEdit", 20030},
    {"cmdRecall", 20040},
    {"picIcon", 90010},
    {"lblTitle", 90020},
    {"lblVersion", 90030},
    {"lblDescription", 90040},
    {"lblDisclaimer", 90050},
    {"cmdOK", 90060},
    {"cmdSysInfo", 90070},
};

QString SourceHelpFile(const char* name) {
    return QStringLiteral(VESMARIN_HELP_SOURCE_DIR "/") + QLatin1String(name);
}

TEST(HelpTopics, TheTopicConstantsCoverTheWholeTable) {
    QSet<int> table;
    for (const TopicRow& row : kTopicTable)
        table.insert(row.topic);
    const QSet<int> constants(kHelpTopics.begin(), kHelpTopics.end());
    EXPECT_EQ(constants, table);
    EXPECT_EQ(qsizetype(kHelpTopics.size()), table.size());
}

// Both help files, as shipped and as copied beside the program, hold a non-empty text for every topic.
TEST(HelpFiles, EveryTopicIsPresentAndNonEmptyInBothLanguages) {
    for (const char* name : {"TembrillUK.hlp", "TembrillGR.hlp"}) {
        for (const QString& file :
             {SourceHelpFile(name), QStringLiteral(VESMARIN_RUNTIME_DIR "/") + QLatin1String(name)}) {
            SCOPED_TRACE(file.toStdString());
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QHash<int, QString> topics = ParseHelpText(f.readAll());
            for (const TopicRow& row : kTopicTable) {
                SCOPED_TRACE(row.control);
                ASSERT_TRUE(topics.contains(row.topic));
                EXPECT_GE(topics.value(row.topic).size(), 10);
            }
            // Nothing else: a stray number would be a typing error in a header.
            EXPECT_EQ(topics.size(), qsizetype(std::size(kTopicTable)));
        }
    }
}

TEST(HelpFiles, GreekFileIsWrittenInGreek) {
    QFile f(SourceHelpFile("TembrillGR.hlp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QHash<int, QString> topics = ParseHelpText(f.readAll());
    for (auto it = topics.cbegin(); it != topics.cend(); ++it) {
        SCOPED_TRACE(it.key());
        EXPECT_TRUE(std::any_of(it.value().cbegin(), it.value().cend(),
                                [](QChar c) { return c.script() == QChar::Script_Greek; }));
    }
}

TEST(HelpFormat, ParsesHeadersParagraphsAndComments) {
    const QByteArray text = "\xEF\xBB\xBF"
                            "ignored before the first header\n"
                            "# a comment\n"
                            "[100]\n"
                            "\n"
                            "  First line\r\n"
                            "second line.  \n"
                            "   # a comment inside a topic\n"
                            "\n"
                            "\n"
                            "New paragraph.\n"
                            "\n"
                            " [ 200 ] \n"
                            "Two hundred.\r"
                            "[300]\n"
                            "\n"
                            "[100]\n"
                            "duplicate, ignored\n"
                            "[x1]\n"
                            "[]\n";
    const QHash<int, QString> topics = ParseHelpText(text);
    EXPECT_EQ(topics.value(100), QStringLiteral("First line second line.\n\nNew paragraph."));
    // Topic 300 has no text, so it is missing; the second [100] keeps the first text, and "[x1]" and "[]"
    // are no headers but lines of that ignored duplicate.
    EXPECT_EQ(topics.value(200), QStringLiteral("Two hundred."));
    EXPECT_FALSE(topics.contains(300));
    EXPECT_EQ(topics.size(), 2);
}

class HelpEngineTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("TembrillUK.hlp"));
    HelpEngine engine;

    void write(const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
};

TEST_F(HelpEngineTest, FindsTheTopicText) {
    write("[10010]\nThe folder tree.\n");
    const HelpLookup found = engine.lookup(file, 10010, HelpLanguage::English);
    EXPECT_TRUE(found.found());
    EXPECT_EQ(found.text, QStringLiteral("The folder tree."));
}

// A failure gives the engine's own message, which names the file and the topic, in the language asked for.
TEST_F(HelpEngineTest, FailuresNameTheFileAndTheTopic) {
    write("[10010]\nThe folder tree.\n");
    const QString missing = dir.filePath(QStringLiteral("TembrillGR.hlp"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.hlp")));
    const QString unreadable = dir.filePath(QStringLiteral("folder.hlp"));

    struct Case {
        QString file;
        int topic;
        HelpLookup::Outcome outcome;
    };
    const Case cases[] = {
        {missing, 10020, HelpLookup::Outcome::MissingFile},
        {unreadable, 10030, HelpLookup::Outcome::UnreadableFile},
        {file, 10040, HelpLookup::Outcome::MissingTopic},
    };
    for (const Case& c : cases) {
        for (const HelpLanguage language : {HelpLanguage::English, HelpLanguage::Greek}) {
            SCOPED_TRACE(c.topic);
            const HelpLookup result = engine.lookup(c.file, c.topic, language);
            EXPECT_FALSE(result.found());
            EXPECT_EQ(result.outcome, c.outcome);
            EXPECT_TRUE(result.text.contains(QDir::toNativeSeparators(c.file)));
            EXPECT_TRUE(result.text.contains(QString::number(c.topic)));
            const bool greekText = result.text.contains(QStringLiteral("αρχείο βοήθειας"));
            EXPECT_EQ(greekText, language == HelpLanguage::Greek);
        }
    }
}

TEST_F(HelpEngineTest, ReadsAnEditedFileAgain) {
    write("[10010]\nOld text.\n");
    EXPECT_EQ(engine.lookup(file, 10010, HelpLanguage::English).text, QStringLiteral("Old text."));
    write("[10010]\nThe new, longer text.\n");
    EXPECT_EQ(engine.lookup(file, 10010, HelpLanguage::English).text,
              QStringLiteral("The new, longer text."));
    QFile::remove(file);
    EXPECT_EQ(engine.lookup(file, 10010, HelpLanguage::English).outcome, HelpLookup::Outcome::MissingFile);
}

} // namespace
