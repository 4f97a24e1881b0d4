#include "browse/core/FilePatterns.h"

#include <algorithm>

namespace vesmarin {

namespace {

bool HasWildcard(std::string_view s) {
    return s.find_first_of("*?") != std::string_view::npos;
}

// '*' and '?' matching with one backtracking point: quadratic at worst, never exponential.
bool GlobMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

FilePatterns::FilePatterns(std::string_view list) {
    while (!list.empty()) {
        const std::size_t semi = list.find(';');
        std::string_view one = list.substr(0, semi);
        list = semi == std::string_view::npos ? std::string_view{} : list.substr(semi + 1);
        while (!one.empty() && one.front() == ' ') {
            one.remove_prefix(1);
        }
        while (!one.empty() && one.back() == ' ') {
            one.remove_suffix(1);
        }
        if (one.empty()) {
            continue;
        }
        const bool suffixOnly = one.front() == '*' && !HasWildcard(one.substr(1));
        Pattern pattern{std::string(suffixOnly ? one.substr(1) : one), suffixOnly};
        if (std::none_of(patterns_.begin(), patterns_.end(), [&](const Pattern& q) {
                return q.text == pattern.text && q.suffixOnly == pattern.suffixOnly;
            })) {
            patterns_.push_back(std::move(pattern));
        }
    }
}

bool FilePatterns::Matches(std::string_view name) const {
    for (const Pattern& pattern : patterns_) {
        if (pattern.suffixOnly ? name.ends_with(pattern.text) : GlobMatch(pattern.text, name)) {
            return true;
        }
    }
    return false;
}

} // namespace vesmarin
