#include "tools/Thumbnailer.h"

#include "platform/filewrite/AtomicFile.h"
#include "platform/iconwriter/IconWriter.h"
#include "tools/TextEscapes.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#ifndef VESMARIN_VERSION
#define VESMARIN_VERSION "unknown"
#endif

namespace vesmarin::tools {
namespace {

constexpr const char* kHelp =
    R"(Usage: vesmarin-thumbnailer [-s SIZE] INPUT OUTPUT

Writes OUTPUT, a PNG thumbnail of the main icon (the first icon group) of INPUT, a Windows program or
library (PE32, PE32+, 16-bit NE) or .ico file, for file managers (see vesmarin.thumbnailer). INPUT is a
path or a file:// URI.

  -s SIZE, --size SIZE  the largest width and height of the thumbnail (default 256, 1 to 1024): the
                        largest stored image that fits is written as it is (a stored PNG byte for
                        byte); only when none fits is the smallest larger one scaled down to SIZE
  --help                shows this text
  --version             shows the version

Exit status: 0 when OUTPUT was written; 1 when INPUT has no icon that can be drawn or OUTPUT cannot be
written (nothing is written to OUTPUT then); 2 for wrong usage.
)";

int usage(std::ostream& err, const std::string& message) {
    err << "vesmarin-thumbnailer: " << message << "\nTry 'vesmarin-thumbnailer --help'.\n";
    return 2;
}

int fromHex(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A local path from a path or a file:// URI (percent-encoded, host empty or localhost); empty when the
// URI names anything else.
std::string localPath(const std::string& input) {
    constexpr std::string_view scheme = "file://";
    if (input.compare(0, scheme.size(), scheme) != 0)
        return input;
    std::string rest = input.substr(scheme.size());
    if (rest.compare(0, 9, "localhost") == 0)
        rest.erase(0, 9);
    if (rest.empty() || rest[0] != '/')
        return {};
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && fromHex(rest[i + 1]) >= 0 && fromHex(rest[i + 2]) >= 0) {
            path += static_cast<char>(fromHex(rest[i + 1]) * 16 + fromHex(rest[i + 2]));
            i += 2;
        } else if (rest[i] == '?' || rest[i] == '#') {
            break;
        } else {
            path += rest[i];
        }
    }
    return path;
}

// Reads the command line into size and names (INPUT, OUTPUT); a status to return at once (0 for --help
// and --version, 2 for wrong usage), or -1.
int parseThumbnailerArguments(const std::vector<std::string>& args, int& size,
                              std::vector<std::string>& names, std::ostream& out, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << kHelp;
            return 0;
        }
        if (a == "--version") {
            out << "vesmarin-thumbnailer " VESMARIN_VERSION "\n";
            return 0;
        }
        if (a == "-s" || a == "--size" || a.rfind("--size=", 0) == 0) {
            std::string value;
            if (a.size() > 7)
                value = a.substr(7);
            else if (i + 1 < args.size())
                value = args[++i];
            const char* end = value.data() + value.size();
            const auto [p, ec] = std::from_chars(value.data(), end, size);
            if (ec != std::errc() || p != end || size < 1 || size > iconreader::kMaxDimension)
                return usage(err, "the size is a number from 1 to 1024, not '" + value + "'");
            continue;
        }
        if (a.size() > 1 && a[0] == '-')
            return usage(err, "unknown option " + a);
        names.push_back(a);
    }
    if (names.size() != 2)
        return usage(err, "give one INPUT and one OUTPUT");
    return -1;
}

// Writes the first of the choices that can be drawn to output; the exit status. A damaged image gives
// way to the next choice; a few tries only, as a hostile group may list thousands of broken images.
int writeThumbnail(const iconreader::IconFile& file, const std::vector<ThumbnailChoice>& choices,
                   const std::string& input, const std::string& output, std::ostream& err) {
    for (std::size_t k = 0; k < choices.size() && k < 8; ++k) {
        // A stored PNG taken as it is goes out byte for byte; anything else is drawn and encoded.
        auto bytes = choices[k].size == 0 ? file.storedImagePng(0, choices[k].image) : std::nullopt;
        if (!bytes)
            if (const auto picture = file.imagePicture(0, choices[k].image, choices[k].size))
                bytes = iconwriter::encodePng(*picture);
        if (!bytes || bytes->empty())
            continue;
        if (const auto written = iconwriter::writeFile(output, *bytes); !written.written()) {
            err << "vesmarin-thumbnailer: cannot write " << printable(output) << ": "
                << filewrite::describe(written.errorNumber) << "\n";
            return 1;
        }
        return 0;
    }
    err << "vesmarin-thumbnailer: " << printable(input) << ": the icon is damaged\n";
    return 1;
}

} // namespace

std::vector<ThumbnailChoice> thumbnailChoices(const std::vector<iconreader::ImageInfo>& images, int size) {
    struct Ranked {
        int image, extent, depthGap;
    };
    std::vector<Ranked> fits, larger;
    for (std::size_t k = 0; k < images.size(); ++k) {
        const auto& im = images[k];
        if (!im.present || im.width < 1 || im.height < 1)
            continue;
        const int extent = std::max(im.width, im.height);
        (extent <= size ? fits : larger).push_back({static_cast<int>(k), extent, std::abs(im.bitCount - 32)});
    }
    const auto byDepth = [](const Ranked& a, const Ranked& b) {
        return a.depthGap != b.depthGap ? a.depthGap < b.depthGap : a.image < b.image;
    };
    std::sort(fits.begin(), fits.end(), [&](const Ranked& a, const Ranked& b) {
        return a.extent != b.extent ? a.extent > b.extent : byDepth(a, b);
    });
    std::sort(larger.begin(), larger.end(), [&](const Ranked& a, const Ranked& b) {
        return a.extent != b.extent ? a.extent < b.extent : byDepth(a, b);
    });
    std::vector<ThumbnailChoice> out;
    for (const Ranked& r : fits)
        out.push_back({r.image, 0});
    for (const Ranked& r : larger)
        out.push_back({r.image, size});
    return out;
}

int runThumbnailer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int size = 256;
    std::vector<std::string> names;
    if (const int status = parseThumbnailerArguments(args, size, names, out, err); status >= 0)
        return status;
    const std::string input = localPath(names[0]);
    if (input.empty()) {
        err << "vesmarin-thumbnailer: " << printable(names[0]) << ": only local files can be read\n";
        return 1;
    }
    const iconreader::IconFile file(input);
    const auto info = file.count() > 0 ? file.info(0) : std::nullopt;
    if (!info) {
        err << "vesmarin-thumbnailer: " << printable(input) << ": "
            << (file.problem().empty() ? "no icon" : file.problem()) << "\n";
        return 1;
    }
    return writeThumbnail(file, thumbnailChoices(info->images, size), input, names[1], err);
}

} // namespace vesmarin::tools
