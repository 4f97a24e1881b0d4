#pragma once

// How the walk maps the system's errors: an error that says something about one folder skips that folder,
// one that says the system has run out of resources ends the collection with a ScanError. Internal to the
// walk.

#include <string>
#include <system_error>

namespace vesmarin::scan {

// Errors that say something about one folder (gone, forbidden, not a folder any more, a broken medium):
// that folder is skipped. The rest (out of file handles or memory) end the collection.
bool IsFolderFault(int error);

// The same for the errors of std::filesystem: true when the system has run out of memory or file handles.
bool IsResourceError(const std::error_code& error);

// Ends the collection with the system's error `error` (an errno) met at `path`.
[[noreturn]] void ThrowSystem(int error, const std::string& path);

// Ends the collection at a folder more than kMaxScanLevel levels below the start.
[[noreturn]] void ThrowTooDeep(const std::string& path);

} // namespace vesmarin::scan
