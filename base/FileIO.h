#pragma once

// Reading and replacing the program's own files: the settings, the recent paths and the saved bitmaps.
//
// Names are taken as text and turned into bytes by FileNameToBytes, so a folder whose name is not UTF-8
// works here as everywhere else. A write goes through the programs' one file replace
// (platform/filewrite/AtomicFile.h), which never damages what was there.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <initializer_list>

namespace vesmarin {

// What tells one version of a file from another without reading it: a file replaced or changed gets
// another inode, size or modification time.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedNs = 0; // since the epoch
    std::int64_t changedNs = 0;  // status change, since the epoch

    bool operator==(const FileIdentity&) const = default;
};

struct FileContent {
    int error = 0; // 0, or the errno of the failure; EINVAL for anything but a regular file
    QByteArray bytes;
    FileIdentity identity;
};

// The identity of the file a name leads to (links followed); 0, or the errno of the failure.
int IdentityOfFile(const QString& file, FileIdentity& identity);

// The whole content of a regular file, links followed. A folder, FIFO or device is refused at once
// (opening a FIFO to read it would wait for a writer forever); a missing file gives ENOENT.
FileContent ReadRegularFile(const QString& file);

// Replaces the content of `file` with the pieces, one after the other; creates the file when it is missing.
// Returns 0, or the errno of the failure, with the file as it was. A link keeps working, a read-only file is
// refused and a replaced file keeps its permissions, as platform/filewrite/AtomicFile.h tells.
int ReplaceFileContent(const QString& file, std::initializer_list<QByteArrayView> pieces);

} // namespace vesmarin
