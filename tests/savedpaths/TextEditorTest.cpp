#include "savedpaths/core/TextEditor.h"

#include <gtest/gtest.h>

using namespace vesmarin;

namespace {

// The first known editor found, with its option to keep the program waiting; editors that cannot be made to
// wait are not taken. Windows' own editor waits by itself.
TEST(TextEditorChoice, TakesTheFirstEditorFoundWithItsWaitOption) {
    const QString file = QStringLiteral("/opt/v/SavedPaths.txt");
    const std::tuple<QStringList, bool, QString, QStringList> cases[] = {
        {{"gedit", "notepad"}, false, "/usr/bin/notepad", {file}},
        {{"featherpad", "gedit"}, false, "/usr/bin/gedit", {"--wait", file}},
        {{"pluma", "leafpad"}, false, "", {}},
        {{"gedit"}, true, "notepad", {file}}};
    for (const auto& [installed, windows, program, arguments] : cases) {
        const EditorCommand command = TextEditorCommand(
            [&](const QString& name) { return installed.contains(name) ? "/usr/bin/" + name : QString(); },
            file, windows);
        EXPECT_EQ(command.program, program);
        EXPECT_EQ(command.arguments, arguments);
    }
}

} // namespace
