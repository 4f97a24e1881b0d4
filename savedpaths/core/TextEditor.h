#pragma once

// Which text editor edits the recent-paths file, and how it is started so that starting it returns only
// when the user has closed the editor's window (the program waits for the edit, then reloads the list).

#include <QString>
#include <QStringList>
#include <functional>

namespace vesmarin {

struct EditorCommand {
    QString program; // empty: no editor was found
    QStringList arguments;

    bool isEmpty() const { return program.isEmpty(); }
};

// Gives the full path of a program found on the search path, or the empty text.
using FindExecutable = std::function<QString(const QString& name)>;

#ifdef _WIN32
inline constexpr bool kWindowsEditors = true;
#else
inline constexpr bool kWindowsEditors = false;
#endif

// On Windows: notepad with the file. Elsewhere: notepad where it exists, otherwise the first graphical
// editor found on the search path among gnome-text-editor, gedit, kate, mousepad, xed and featherpad,
// each with its own option that keeps the started process alive until its window closes (editors that
// would hand the file to a running instance and return at once are not on the list). Empty when none is
// found.
EditorCommand TextEditorCommand(const FindExecutable& findExecutable, const QString& file,
                                bool windows = kWindowsEditors);

} // namespace vesmarin
