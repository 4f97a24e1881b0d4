#include "base/HelpFile.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vesmarin;

namespace {

QString SourceHelpFile(const char* name) {
    return QStringLiteral(VESMARIN_HELP_SOURCE_DIR "/") + QLatin1String(name);
}

// Both help files, as shipped and as copied beside the program, hold a non-empty text for every topic, and
// the Greek one is written in Greek.
TEST(HelpFiles, EveryTopicIsPresentAndNonEmptyInBothLanguages) {
    for (const char* name : {"TembrillUK.hlp", "TembrillGR.hlp"}) {
        for (const QString& file :
             {SourceHelpFile(name), QStringLiteral(VESMARIN_RUNTIME_DIR "/") + QLatin1String(name)}) {
            SCOPED_TRACE(file.toStdString());
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QHash<int, QString> topics = ParseHelpText(f.readAll());
            for (const int topic : kHelpTopics) {
                SCOPED_TRACE(topic);
                ASSERT_TRUE(topics.contains(topic));
                EXPECT_GE(topics.value(topic).size(), 10);
                if (QLatin1String(name) == QLatin1String("TembrillGR.hlp")) {
                    const QString text = topics.value(topic);
                    EXPECT_TRUE(std::any_of(text.cbegin(), text.cend(), [](QChar c) {
                        return c.script() == QChar::Script_Greek;
                    })) << "the Greek file is written in Greek";
                }
            }
            // Nothing else: a stray number would be a typing error in a header.
            EXPECT_EQ(topics.size(), qsizetype(kHelpTopics.size()));
        }
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

    void write(const QByteArray& bytes) { test::WriteFile(file, bytes); }
};

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

TEST_F(HelpEngineTest, FindsTheTopicTextAndReadsAnEditedFileAgain) {
    write("[10010]\nOld text.\n");
    const HelpLookup found = engine.lookup(file, 10010, HelpLanguage::English);
    EXPECT_TRUE(found.found());
    EXPECT_EQ(found.text, QStringLiteral("Old text."));
    write("[10010]\nThe new, longer text.\n");
    EXPECT_EQ(engine.lookup(file, 10010, HelpLanguage::English).text,
              QStringLiteral("The new, longer text."));
    QFile::remove(file);
    EXPECT_EQ(engine.lookup(file, 10010, HelpLanguage::English).outcome, HelpLookup::Outcome::MissingFile);
}

} // namespace
