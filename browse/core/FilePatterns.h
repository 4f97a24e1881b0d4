#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesmarin {

// A ';'-separated list of file-name patterns ("*.EXE;*.EXe;...;*.exe"). A name matches when it matches any
// of them; '*' stands for any run of characters and '?' for any one, every other character for itself.
class FilePatterns {
public:
    FilePatterns() = default;
    explicit FilePatterns(std::string_view list);
    bool Matches(std::string_view name) const;
    bool empty() const { return patterns_.empty(); }

private:
    struct Pattern {
        std::string text;
        bool suffixOnly; // "*" followed by characters without wildcards: a plain suffix test
    };
    std::vector<Pattern> patterns_;
};

} // namespace vesmarin
