#include "browse/core/NameOrder.h"

#include <cstddef>

namespace vesmarin {

namespace {

char32_t FoldCase(char32_t c) {
    if (c < 0x80) {
        return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return c - 0x20;
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return c & ~char32_t{1};
    }
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && (c & 1) == 0) {
        return c - 1;
    }
    if (c >= 0x3B1 && c <= 0x3CB) {
        return c == 0x3C2 ? char32_t{0x3A3} : c - 0x20; // final sigma folds with sigma
    }
    switch (c) {
    case 0x3AC:
        return 0x386;
    case 0x3AD:
    case 0x3AE:
    case 0x3AF:
        return c - 0x25;
    case 0x3CC:
        return 0x38C;
    case 0x3CD:
    case 0x3CE:
        return c - 0x3F;
    default:
        break;
    }
    if (c >= 0x430 && c <= 0x44F) {
        return c - 0x20;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return c - 0x50;
    }
    return c;
}

// The next character of a UTF-8 text, folded; a byte that starts no valid sequence stands for itself
// above every character, so names that are not UTF-8 still have a fixed place.
char32_t NextFolded(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return FoldCase(b);
    }
    int extra = 0;
    char32_t c = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        extra = 1;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        extra = 2;
        c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        extra = 3;
        c = b & 0x07;
    }
    if (extra == 0 || i + extra >= s.size()) {
        ++i;
        return 0x110000 + b;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto cont = static_cast<unsigned char>(s[i + k]);
        if ((cont & 0xC0) != 0x80) {
            ++i;
            return 0x110000 + b;
        }
        c = (c << 6) | (cont & 0x3F);
    }
    i += extra + 1;
    return FoldCase(c);
}

} // namespace

int CompareNames(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (ca < 0x80 && cb < 0x80) { // the common case, without decoding
            const char32_t fa = FoldCase(ca), fb = FoldCase(cb);
            if (fa != fb) {
                return fa < fb ? -1 : 1;
            }
            ++i;
            ++j;
            continue;
        }
        const char32_t fa = NextFolded(a, i), fb = NextFolded(b, j);
        if (fa != fb) {
            return fa < fb ? -1 : 1;
        }
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    const int raw = a.compare(b);
    return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
}

} // namespace vesmarin
