#pragma once

// The recent-paths file SavedPaths.txt: one display-form path per line, newest first, lines ended by
// CR LF, UTF-8. The user may edit it freely, so reading accepts LF alone (and a lone CR) as well, keeps
// blank lines and keeps every other line exactly as written, blanks at either end included.
//
// Nothing here asks the user anything: the windows ask first and call these only after Yes or OK.
// Every function reports a failure to its caller as a run-time error number and description, which the
// caller's error trap hands to the shared error report.

#include <QString>
#include <QStringList>

namespace vesmarin {

// Success, or the run-time error that made an operation fail.
struct StoreStatus {
    bool ok = true;
    int errorNumber = 0;
    QString errorDescription;

    explicit operator bool() const { return ok; }
};

struct SavedPathsContent {
    StoreStatus status;
    bool exists = false; // false: no file of that name (the list then keeps its colour)
    QStringList lines;   // every line as stored, blank lines included
};

struct SavedPathCheck {
    StoreStatus status;
    bool saved = false;
};

// Creates the file, empty, when no file of that name exists; an existing file is never touched.
StoreStatus EnsureSavedPathsFile(const QString& file);

// Reads every line of the file. A missing file is not an error: exists is false and lines empty.
SavedPathsContent LoadSavedPaths(const QString& file);

// The lines the recall list shows: those that hold more than blanks, exactly as stored.
QStringList RecallableSavedPaths(const QStringList& lines);

// True when some line of the file names the same folder as path: both with a trailing separator and
// under the case rule (upper-cased unless caseSensitive), so /usr/share, /usr/share/ and /USR/SHARE are
// one folder while the case rule is in force. Reading stops at the first such line. A missing file holds
// no path (and is not created here, so a No to the question that follows leaves no trace).
SavedPathCheck IsPathSaved(const QString& file, const QString& path, bool caseSensitive);

// The pure half of IsPathSaved, over lines already read.
bool ContainsSavedPath(const QStringList& lines, const QString& path, bool caseSensitive);

// Writes path as the first line of the file, before the old lines, which keep their order, their bytes
// and their blank lines; every line is ended by CR LF. The new content is written to a temporary file of
// its own beside the file and then put in the file's place in one step (paths/FileIO.h), so a failed save
// (a full disk among others) leaves the file exactly as it was and no other file is ever touched. A link
// keeps working, the content landing in the file it names; a file made read-only is not changed and the
// save fails with Permission denied. A missing file is created with the one line.
StoreStatus SavePathAsNewest(const QString& file, const QString& path);

// True when the current path is already the initial path: both compared under the case rule, without
// adding or removing separators (so "/home/ann/" and "/home/ann" differ).
bool IsInitialPath(const QString& initialPath, const QString& currentPath, bool caseSensitive);

} // namespace vesmarin
