#include "tools/TextEscapes.h"

#include <cstdint>

namespace vesmarin::tools {
namespace {

constexpr char kHex[] = "0123456789abcdef";

// The length of the well-formed, shortest-form UTF-8 sequence at s[i] and its code point; 0 when the
// byte there starts none.
int utf8At(std::string_view s, std::size_t i, std::uint32_t& cp) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    const int n = c >= 0xF8 ? 0 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (n == 0 || i + static_cast<std::size_t>(n) > s.size())
        return 0;
    cp = n == 4 ? c & 0x07u : n == 3 ? c & 0x0Fu : c & 0x1Fu;
    for (int k = 1; k < n; ++k) {
        const auto t = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((t & 0xC0) != 0x80)
            return 0;
        cp = cp << 6 | (t & 0x3Fu);
    }
    if ((n == 3 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) ||
        (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    return n;
}

bool isControl(std::uint32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
}

void appendU(std::string& out, std::uint32_t v) {
    out += {'\\', 'u', kHex[v >> 12 & 15], kHex[v >> 8 & 15], kHex[v >> 4 & 15], kHex[v & 15]};
}

} // namespace

std::string printable(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        std::uint32_t cp = 0;
        const int n = utf8At(s, i, cp);
        const auto c = static_cast<unsigned char>(s[i]);
        if (n == 0 || (n == 1 && isControl(cp))) {
            switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
            }
            ++i;
        } else if (isControl(cp)) {
            appendU(out, cp);
            i += static_cast<std::size_t>(n);
        } else if (c == '\\') {
            out += "\\\\";
            ++i;
        } else {
            out.append(s.substr(i, static_cast<std::size_t>(n)));
            i += static_cast<std::size_t>(n);
        }
    }
    return out;
}

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        std::uint32_t cp = 0;
        const int n = utf8At(s, i, cp);
        if (n == 0) {
            appendU(out, 0xDC00u | static_cast<unsigned char>(s[i]));
            ++i;
            continue;
        }
        switch (cp) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            if (isControl(cp))
                appendU(out, cp);
            else
                out.append(s.substr(i, static_cast<std::size_t>(n)));
        }
        i += static_cast<std::size_t>(n);
    }
    return out + "\"";
}

} // namespace vesmarin::tools
