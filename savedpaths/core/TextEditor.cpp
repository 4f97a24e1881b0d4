#include "savedpaths/core/TextEditor.h"

#include <array>

namespace vesmarin {

namespace {

struct KnownEditor {
    const char* name;
    const char* waitOption; // keeps the started process until the window is closed; nullptr: none needed
};

// In order of preference. Each option is the editor's documented way to block the caller:
// a new instance that ends with its window, or a wait for the opened file to be closed.
constexpr std::array<KnownEditor, 7> kEditors{{
    {"notepad", nullptr},
    {"gnome-text-editor", "--standalone"},
    {"gedit", "--wait"},
    {"kate", "--block"},
    {"mousepad", "--disable-server"},
    {"xed", "--wait"},
    {"featherpad", "--standalone"},
}};

} // namespace

EditorCommand TextEditorCommand(const FindExecutable& findExecutable, const QString& file, bool windows) {
    if (windows)
        return {QStringLiteral("notepad"), {file}};
    for (const KnownEditor& editor : kEditors) {
        const QString program = findExecutable ? findExecutable(QString::fromLatin1(editor.name)) : QString();
        if (program.isEmpty())
            continue;
        QStringList arguments;
        if (editor.waitOption)
            arguments << QString::fromLatin1(editor.waitOption);
        arguments << file;
        return {program, arguments};
    }
    return {};
}

} // namespace vesmarin
