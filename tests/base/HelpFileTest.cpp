#include "base/HelpFile.h"

#include "support/TestFiles.h"

#include <QTemporaryDir>

namespace vesmarin {

// Both help files, as shipped and as copied beside the program, hold a text for every topic and nothing else
// (a stray number would be a typing error in a header), and the Greek one is written in Greek.
TEST(HelpFiles, EveryTopicIsPresentAndNonEmptyInBothLanguages) {
    for (const char* folder : {VESMARIN_HELP_SOURCE_DIR, VESMARIN_RUNTIME_DIR})
        for (const bool greek : {false, true}) {
            const QString file = QString::fromUtf8(folder) + (greek ? "/TembrillGR.hlp" : "/TembrillUK.hlp");
            const QHash<int, QString> topics = ParseHelpText(test::ReadFile(file));
            EXPECT_EQ(topics.size(), qsizetype(kHelpTopics.size())) << file.toStdString();
            for (const int topic : kHelpTopics) {
                const QString text = topics.value(topic);
                const auto isGreek = [](QChar c) { return c.script() == QChar::Script_Greek; };
                EXPECT_TRUE(text.size() >= 10 && (!greek || std::any_of(text.cbegin(), text.cend(), isGreek)))
                    << file.toStdString() << " " << topic;
            }
        }
}

TEST(HelpFormat, ParsesHeadersParagraphsAndComments) {
    const QByteArray text =
        "ignored\n# a comment\n[100]\n\n  First line\r\nsecond line.  \n   # a comment in a topic\n\n\n"
        "New paragraph.\n\n [ 200 ] \nTwo hundred.\r[300]\n\n[100]\nduplicate\n[x1]\n[]\n";
    // Topic 300 has no text, so it is missing; the second [100] keeps the first text, and "[x1]" and "[]"
    // are no headers but lines of that ignored duplicate.
    EXPECT_EQ(ParseHelpText(text), (QHash<int, QString>{{100, "First line second line.\n\nNew paragraph."},
                                                        {200, "Two hundred."}}));
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
    EXPECT_EQ(engine.lookup(file, 10010, HelpLanguage::English).text, "The new, longer text.");

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.hlp")));
    using enum HelpLookup::Outcome;
    const std::tuple<QString, HelpLanguage, HelpLookup::Outcome> cases[] = {
        {dir.filePath("TembrillGR.hlp"), HelpLanguage::Greek, MissingFile},
        {dir.filePath("folder.hlp"), HelpLanguage::English, UnreadableFile},
        {file, HelpLanguage::Greek, MissingTopic}};
    for (const auto& [name, language, outcome] : cases) {
        const HelpLookup result = engine.lookup(name, 10040, language);
        EXPECT_EQ(result.outcome, outcome);
        EXPECT_TRUE(result.text.contains(QDir::toNativeSeparators(name)) && result.text.contains(u"10040") &&
                    result.text.contains(u"αρχείο βοήθειας") == (language == HelpLanguage::Greek))
            << result.text.toStdString();
    }
    QFile::remove(file);
    EXPECT_EQ(engine.lookup(file, 10010, HelpLanguage::English).outcome, MissingFile);
}

} // namespace vesmarin
