#include "browse/core/ScanErrors.h"

#include "browse/core/ScanError.h"

#include <cerrno>
#include <cstring>

namespace vesmarin::scan {

bool IsFolderFault(int error) {
    return error != EMFILE && error != ENFILE && error != ENOMEM;
}

bool IsResourceError(const std::error_code& error) {
    return error == std::errc::not_enough_memory || error == std::errc::too_many_files_open ||
           error == std::errc::too_many_files_open_in_system;
}

void ThrowSystem(int error, const std::string& path) {
    throw ScanError(error, std::string(std::strerror(error)) + ": " + path);
}

void ThrowTooDeep(const std::string& path) {
    throw ScanError(kErrTooManyLevels, "More than " + std::to_string(kMaxScanLevel) +
                                           " folder levels below the start folder: " + path);
}

} // namespace vesmarin::scan
