#include "base/HelpFile.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vesmarin;

namespace {

// Both help files, as shipped and as copied beside the program, hold a non-empty text for every topic and
// nothing else (a stray number would be a typing error in a header), and the Greek one is written in Greek.
TEST(HelpFiles, EveryTopicIsPresentAndNonEmptyInBothLanguages) {
    for (const char* name : {"TembrillUK.hlp", "TembrillGR.hlp"}) {
        const bool greek = QLatin1String(name) == QLatin1String("TembrillGR.hlp");
        for (const char* folder : {VESMARIN_HELP_SOURCE_DIR, VESMARIN_RUNTIME_DIR}) {
            SCOPED_TRACE(std::string(folder) + "/" + name);
            const QHash<int, QString> topics =
                ParseHelpText(test::ReadFile(QString::fromUtf8(folder) + u'/' + QLatin1String(name)));
            EXPECT_EQ(topics.size(), qsizetype(kHelpTopics.size()));
            for (const int topic : kHelpTopics) {
                const QString text = topics.value(topic);
                EXPECT_GE(text.size(), 10) << topic;
                EXPECT_TRUE(!greek || std::any_of(text.cbegin(), text.cend(),
                                                  [](QChar c) { return c.script() == QChar::Script_Greek; }))
                    << topic << " is not written in Greek";
            }
        }
    }
}

TEST(HelpFormat, ParsesHeadersParagraphsAndComments) {
    const QByteArray text = "ignored before the first header\n# a comment\n"
                            "[100]\n\n  First line\r\nsecond line.  \n   # a comment inside a topic\n\n\n"
                            "New paragraph.\n\n [ 200 ] \nTwo hundred.\r[300]\n\n"
                            "[100]\nduplicate, ignored\n[x1]\n[]\n";
    const QHash<int, QString> topics = ParseHelpText(text);
    EXPECT_EQ(topics.value(100), QStringLiteral("First line second line.\n\nNew paragraph."));
    // Topic 300 has no text, so it is missing; the second [100] keeps the first text, and "[x1]" and "[]"
    // are no headers but lines of that ignored duplicate.
    EXPECT_EQ(topics.value(200), QStringLiteral("Two hundred."));
    EXPECT_FALSE(topics.contains(300));
    EXPECT_EQ(topics.size(), 2);
}

// The topic's text, also right after a byte-order mark, read again when the file is edited; a failure gives
// the engine's own message, which names the file and the topic, in the language asked for.
TEST(HelpEngine, FindsTheTopicOrNamesTheFileAndTheTopic) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TembrillUK.hlp"));
    HelpEngine engine;
    test::WriteFile(file, "\xEF\xBB\xBF[10010]\nOld text.\n"); // an editor's byte-order mark
    EXPECT_EQ(engine.lookup(file, 10010, HelpLanguage::Greek).text, QStringLiteral("Old text."));
    test::WriteFile(file, "[10010]\nThe new, longer text.\n");
    EXPECT_EQ(engine.lookup(file, 10010, HelpLanguage::English).text,
              QStringLiteral("The new, longer text."));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.hlp")));
    const std::tuple<QString, int, HelpLookup::Outcome> cases[] = {
        {dir.filePath(QStringLiteral("TembrillGR.hlp")), 10020, HelpLookup::Outcome::MissingFile},
        {dir.filePath(QStringLiteral("folder.hlp")), 10030, HelpLookup::Outcome::UnreadableFile},
        {file, 10040, HelpLookup::Outcome::MissingTopic},
    };
    for (const auto& [name, topic, outcome] : cases) {
        for (const HelpLanguage language : {HelpLanguage::English, HelpLanguage::Greek}) {
            SCOPED_TRACE(topic);
            const HelpLookup result = engine.lookup(name, topic, language);
            EXPECT_EQ(std::tuple(result.found(), result.outcome), std::tuple(false, outcome));
            EXPECT_TRUE(result.text.contains(QDir::toNativeSeparators(name)));
            EXPECT_TRUE(result.text.contains(QString::number(topic)));
            EXPECT_EQ(result.text.contains(QStringLiteral("αρχείο βοήθειας")),
                      language == HelpLanguage::Greek);
        }
    }
    QFile::remove(file);
    EXPECT_EQ(engine.lookup(file, 10010, HelpLanguage::English).outcome, HelpLookup::Outcome::MissingFile);
}

} // namespace
