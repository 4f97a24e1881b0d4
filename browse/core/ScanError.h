#pragma once

// The run-time error that ends a collection, and the numbers it carries besides the system's own error
// numbers (errno on POSIX). The window that runs a collection turns it into its error report.

#include <stdexcept>
#include <string>

namespace vesmarin {

// The stack holds the start folder and at most this many levels below it.
inline constexpr int kMaxScanLevel = 100;

inline constexpr int kErrOverflow = 6;      // more entries than a 32-bit count holds
inline constexpr int kErrOutOfMemory = 7;   // the list could not grow
inline constexpr int kErrTooManyLevels = 9; // a folder more than kMaxScanLevel levels below the start

class ScanError : public std::runtime_error {
public:
    ScanError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

} // namespace vesmarin
