#include "tools/IconsTool.h"

#include "platform/iconreader/IconReader.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <png.h>
#include <sstream>

namespace vesmarin::tools {
namespace {

using iconreader::IconFile;
using iconreader::Picture;

constexpr const char* kHelp =
    R"(Usage: vesmarin-icons list FILE...
       vesmarin-icons export [--size N] [--format png|bmp|ico] [--background RRGGBB] [--out DIR] FILE...

Reads the icons stored in Windows programs and libraries (PE32, PE32+ and 16-bit NE .exe/.dll files)
and in .ico files.

  list      For each file and each icon: its index, group name or ID and language, and each of its
            images (width x height, bits per pixel, PNG or bitmap); '*' marks the image a 32x32 icon takes.
  export    Writes DIR/<file name>-<index>.<ext> for every icon.
              --format png   (default) the icon with its transparency
              --format bmp   the icon drawn on the background colour, as a 24-bit bitmap
              --format ico   the whole icon group with all its images as stored
              --size N       picks and scales the image for an N x N icon (default 32, 1 to 1024;
                             not used by ico)
              --background RRGGBB   hexadecimal colour for bmp (default FFFFFF)
              --out DIR      the folder to write to (default: the current folder; made when missing)
  --help    Shows this text.

A file that cannot be read or holds no icons gives one line on standard error and the next file
follows. Exit status: 0 when every file could be read, 1 otherwise, 2 for wrong usage.
)";

struct Options {
    std::string command;
    int size = 32;
    std::string format = "png";
    std::uint32_t background = 0xFFFFFF;
    std::filesystem::path out = ".";
    std::vector<std::string> files;
};

int usage(std::ostream& err, const std::string& message) {
    err << "vesmarin-icons: " << message << "\nTry 'vesmarin-icons --help'.\n";
    return 2;
}

bool parseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end;
}

bool parseColour(std::string text, std::uint32_t& value) {
    if (!text.empty() && text[0] == '#')
        text.erase(0, 1);
    if (text.size() != 6)
        return false;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value, 16);
    return ec == std::errc() && p == end;
}

const char* kindName(iconreader::FileKind k) {
    switch (k) {
    case iconreader::FileKind::Pe32:
        return "PE32";
    case iconreader::FileKind::Pe32Plus:
        return "PE32+";
    case iconreader::FileKind::Ne:
        return "NE";
    case iconreader::FileKind::Ico:
        return "icon file";
    default:
        return "unknown";
    }
}

// Opens a file for the commands; on failure says why on err and gives false.
bool openFile(const std::string& path, IconFile& file, std::ostream& err) {
    file = IconFile(path);
    if (!file.problem().empty()) {
        err << (path + ": " + file.problem() + "\n");
        return false;
    }
    if (file.count() == 0) {
        err << (path + ": no icons\n");
        return false;
    }
    return true;
}

std::string groupLabel(const iconreader::GroupInfo& g, iconreader::FileKind kind) {
    if (kind == iconreader::FileKind::Ico)
        return "icon file";
    if (!g.name.empty())
        return "group \"" + g.name + "\"";
    return "group " + std::to_string(g.id);
}

bool listFile(const std::string& path, std::ostream& out, std::ostream& err) {
    IconFile file;
    if (!openFile(path, file, err))
        return false;
    const int n = file.count();
    out << path << ": " << n << (n == 1 ? " icon" : " icons") << " (" << kindName(file.kind()) << ")\n";
    for (int i = 0; i < n; ++i) {
        const auto info = file.info(i);
        if (!info) {
            out << "  " << i << ": damaged group\n";
            continue;
        }
        out << "  " << i << ": " << groupLabel(*info, file.kind());
        if (file.kind() == iconreader::FileKind::Pe32 || file.kind() == iconreader::FileKind::Pe32Plus)
            out << ", language " << info->language;
        out << "\n";
        for (std::size_t k = 0; k < info->images.size(); ++k) {
            const auto& im = info->images[k];
            out << "    " << (static_cast<int>(k) == info->chosen ? "* " : "  ");
            if (!im.present) {
                out << "image " << im.id << " missing\n";
                continue;
            }
            out << im.width << "x" << im.height << ", " << im.bitCount << " bpp, "
                << (im.format == iconreader::ImageFormat::Png ? "PNG" : "bitmap") << "\n";
        }
    }
    return true;
}

bool writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f.flush());
}

bool writePng(const std::filesystem::path& path, const Picture& p) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(p.pixels.size() * 4);
    for (std::uint32_t px : p.pixels)
        for (int shift : {16, 8, 0, 24})
            rgba.push_back(static_cast<std::uint8_t>(px >> shift));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(p.width);
    image.height = static_cast<png_uint_32>(p.height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr))
        return false;
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba.data(), 0, nullptr))
        return false;
    bytes.resize(size);
    return writeBytes(path, bytes);
}

// A 24-bit bitmap file, rows bottom-up and padded to four bytes.
std::vector<std::uint8_t> bmpBytes(const Picture& p) {
    const std::size_t stride = (static_cast<std::size_t>(p.width) * 3 + 3) / 4 * 4;
    const std::size_t imageSize = stride * p.height;
    std::vector<std::uint8_t> b;
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    b.push_back('B');
    b.push_back('M');
    put(static_cast<std::uint32_t>(54 + imageSize), 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(p.width), 4);
    put(static_cast<std::uint32_t>(p.height), 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(static_cast<std::uint32_t>(imageSize), 4);
    put(2835, 4); // 72 dots per inch
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int y = p.height - 1; y >= 0; --y) {
        std::size_t written = 0;
        for (int x = 0; x < p.width; ++x, written += 3)
            put(p.at(x, y) & 0xFFFFFF, 3);
        for (; written < stride; ++written)
            b.push_back(0);
    }
    return b;
}

bool exportFile(const std::string& path, const Options& o, std::ostream& err) {
    IconFile file;
    if (!openFile(path, file, err))
        return false;
    const std::string base = std::filesystem::path(path).filename().string();
    std::vector<int> unreadable;
    std::string writeError;
    for (int i = 0; i < file.count(); ++i) {
        const std::filesystem::path target = o.out / (base + "-" + std::to_string(i) + "." + o.format);
        bool ok = false;
        bool written = true;
        if (o.format == "ico") {
            if (const auto group = file.storedGroup(i)) {
                ok = true;
                written = writeBytes(target, iconreader::makeIcoFile(*group));
            }
        } else if (o.format == "bmp") {
            if (const auto p = file.draw(i, o.background, o.size)) {
                ok = true;
                written = writeBytes(target, bmpBytes(*p));
            }
        } else if (const auto p = file.picture(i, o.size)) {
            ok = true;
            written = writePng(target, *p);
        }
        if (!ok)
            unreadable.push_back(i);
        else if (!written && writeError.empty())
            writeError = target.string();
    }
    if (!writeError.empty()) {
        err << (path + ": cannot write " + writeError + "\n");
        return false;
    }
    if (!unreadable.empty()) {
        std::ostringstream s;
        for (std::size_t k = 0; k < unreadable.size(); ++k)
            s << (k == 0 ? "" : ", ") << unreadable[k];
        err << path << ": damaged icon" << (unreadable.size() == 1 ? " " : "s ") << s.str()
            << " not exported\n";
        return false;
    }
    return true;
}

} // namespace

int runIconsTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options o;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            if (o.command.empty())
                o.command = a;
            else
                o.files.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            out << kHelp;
            return 0;
        }
        std::string value;
        const auto eq = a.find('=');
        const bool inlineValue = eq != std::string::npos;
        if (inlineValue) {
            value = a.substr(eq + 1);
            a.erase(eq);
        }
        if (a != "--size" && a != "--format" && a != "--background" && a != "--out")
            return usage(err, "unknown option " + args[i]);
        if (!inlineValue) {
            if (i + 1 >= args.size())
                return usage(err, a + " needs a value");
            value = args[++i];
        }
        if (a == "--size") {
            if (!parseInt(value, o.size) || o.size < 1 || o.size > iconreader::kMaxDimension)
                return usage(err, "--size takes a number from 1 to 1024, not '" + value + "'");
        } else if (a == "--format") {
            if (value != "png" && value != "bmp" && value != "ico")
                return usage(err, "--format takes png, bmp or ico, not '" + value + "'");
            o.format = value;
        } else if (a == "--background") {
            if (!parseColour(value, o.background))
                return usage(err, "--background takes a colour RRGGBB in hexadecimal, not '" + value + "'");
        } else {
            if (value.empty())
                return usage(err, "--out needs a folder");
            o.out = value;
        }
    }
    if (o.command.empty())
        return usage(err, "no command given");
    if (o.command != "list" && o.command != "export")
        return usage(err, "unknown command '" + o.command + "'");
    if (o.command == "list" &&
        (o.size != 32 || o.format != "png" || o.background != 0xFFFFFF || o.out != "."))
        return usage(err, "list takes no options");
    if (o.files.empty())
        return usage(err, "no files given");

    if (o.command == "export") {
        std::error_code ec;
        std::filesystem::create_directories(o.out, ec);
        if (!std::filesystem::is_directory(o.out, ec)) {
            err << o.out.string() << ": cannot make the output folder\n";
            return 1;
        }
    }
    bool allRead = true;
    for (const std::string& f : o.files)
        allRead = (o.command == "list" ? listFile(f, out, err) : exportFile(f, o, err)) && allRead;
    out.flush();
    return allRead ? 0 : 1;
}

} // namespace vesmarin::tools
