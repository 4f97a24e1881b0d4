#include "savedpaths/core/TextEditor.h"

#include <gtest/gtest.h>

using namespace vesmarin;

namespace {

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
        const EditorCommand command = TextEditorCommand(
            [&](const QString& name) { return c.installed.contains(name) ? "/usr/bin/" + name : QString(); },
            file, c.windows);
        EXPECT_EQ(command.program, c.program);
        EXPECT_EQ(command.arguments, c.arguments);
    }
}

} // namespace
