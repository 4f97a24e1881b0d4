#include "savedpaths/TextEditor.h"

#include <gtest/gtest.h>

using namespace vesmarin;

namespace {

FindExecutable Finding(const QStringList& installed) {
    return [installed](const QString& name) {
        return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    };
}

TEST(TextEditorChoice, TakesTheFirstEditorFoundWithItsWaitOption) {
    const QString file = QStringLiteral("/opt/v/SavedPaths.txt");
    struct Case {
        QStringList installed;
        QString program;
        QStringList arguments;
        bool windows = false;
    };
    const Case cases[] = {
        {{"gedit", "notepad"}, "/usr/bin/notepad", {file}},
        {{"kate", "gnome-text-editor"}, "/usr/bin/gnome-text-editor", {"--standalone", file}},
        {{"mousepad", "gedit"}, "/usr/bin/gedit", {"--wait", file}},
        {{"featherpad", "kate"}, "/usr/bin/kate", {"--block", file}},
        {{"xed", "mousepad"}, "/usr/bin/mousepad", {"--disable-server", file}},
        {{"featherpad", "xed"}, "/usr/bin/xed", {"--wait", file}},
        {{"featherpad"}, "/usr/bin/featherpad", {"--standalone", file}},
        // Editors that cannot be made to wait are not taken.
        {{"pluma", "leafpad"}, "", {}},
        {{}, "", {}},
        {{"gedit"}, "notepad", {file}, true}, // Windows' own editor waits by itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installed.join(QLatin1Char(',')).toStdString());
        const EditorCommand command = TextEditorCommand(Finding(c.installed), file, c.windows);
        EXPECT_EQ(command.program, c.program);
        EXPECT_EQ(command.arguments, c.arguments);
        EXPECT_EQ(command.isEmpty(), c.program.isEmpty());
    }
}

} // namespace
