#include "tools/IconsTool.h"

#include "platform/iconreader/IconReader.h"
#include "platform/iconwriter/IconWriter.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <functional>
#include <set>
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
            Control characters in names are shown escaped (\n, \x1b); a backslash is shown as \\.
  export    Writes DIR/<file name>-<index>.<ext> for every icon.
              --format png   (default) the icon with its transparency
              --format bmp   the icon drawn on the background colour, as a 24-bit bitmap
              --format ico   the whole icon group with all its images as stored; a group of more than
                             256 images or more than 64 MB of them is not written
              --size N       picks and scales the image for an N x N icon (default 32, 1 to 1024;
                             not used by ico)
              --background RRGGBB   hexadecimal colour for bmp (default FFFFFF)
              --out DIR      the folder to write to (default: the current folder; made when missing)
            Each file is written whole under a temporary name and then renamed, so a failed write leaves
            any earlier file of that name as it was. When a file name was already used by an earlier
            input of the same run (letter case aside), the later input's files are named
            <file name>~2-<index>.<ext> (then ~3, ...), so no output replaces another.
  --help    Shows this text.

A file that cannot be read or holds no icons gives one line on standard error and the next file
follows. Exit status: 0 when everything was read and written, 1 when a file could not be read, holds
no icons, has an icon that could not be exported, or an output (a file, or the standard output) could
not be written; 2 for wrong usage.
)";

struct Options {
    std::string command;
    int size = 32;
    std::string format = "png";
    std::uint32_t background = 0xFFFFFF;
    std::filesystem::path out = ".";
    std::vector<std::string> files;
    std::set<std::string> given; // the options named on the command line
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

// Text for a terminal: control characters (C0, DEL and C1) and bytes that are not UTF-8 come out as
// escapes (\n, \t, \r, \x1b, \u009b) and a backslash as \\, so no name can move the cursor, change the
// terminal or forge a line, and the escaped text still says exactly what the name holds.
std::string printable(std::string_view s) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '\\') {
            out += "\\\\";
            ++i;
        } else if (c == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '\t') {
            out += "\\t";
            ++i;
        } else if (c == '\r') {
            out += "\\r";
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            out += {'\\', 'x', hex[c >> 4], hex[c & 15]};
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else {
            // A whole, shortest-form UTF-8 sequence is kept (C1 controls escaped); any other byte is escaped.
            const int n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
            std::uint32_t cp = n == 4 ? c & 0x07 : n == 3 ? c & 0x0F : c & 0x1F;
            bool whole = n > 0 && i + n <= s.size();
            for (int k = 1; whole && k < n; ++k) {
                const auto t = static_cast<unsigned char>(s[i + k]);
                whole = (t & 0xC0) == 0x80;
                cp = cp << 6 | (t & 0x3F);
            }
            whole = whole && !(n == 3 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) &&
                    !(n == 4 && (cp < 0x10000 || cp > 0x10FFFF));
            if (!whole) {
                out += {'\\', 'x', hex[c >> 4], hex[c & 15]};
                ++i;
            } else if (cp >= 0x80 && cp < 0xA0) {
                out += {'\\', 'u', '0', '0', hex[cp >> 4], hex[cp & 15]};
                i += 2;
            } else {
                out.append(s.substr(i, static_cast<std::size_t>(n)));
                i += static_cast<std::size_t>(n);
            }
        }
    }
    return out;
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
        err << (printable(path) + ": " + file.problem() + "\n");
        return false;
    }
    if (file.count() == 0) {
        err << (printable(path) + ": no icons\n");
        return false;
    }
    return true;
}

std::string groupLabel(const iconreader::GroupInfo& g, iconreader::FileKind kind) {
    if (kind == iconreader::FileKind::Ico)
        return "icon file";
    if (!g.name.empty())
        return "group \"" + printable(g.name) + "\"";
    return "group " + std::to_string(g.id);
}

bool listFile(const std::string& path, std::ostream& out, std::ostream& err) {
    IconFile file;
    if (!openFile(path, file, err))
        return false;
    const int n = file.count();
    out << printable(path) << ": " << n << (n == 1 ? " icon" : " icons") << " (" << kindName(file.kind())
        << ")\n";
    for (int i = 0; i < n && out; ++i) {
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

// The names of one run's outputs: the first input to use a file name keeps it; a later one takes
// <name>~2, ~3, ... Names are compared without ASCII letter case, since the output folder may lie on a
// file system that ignores it. Outputs are <name>-<index>.<ext>: distinct names give distinct outputs,
// since what follows the last '-' is the index and holds no '-'.
class OutputNames {
public:
    std::string claim(const std::string& name) {
        std::string candidate = name;
        for (int n = 2; !used_.insert(folded(candidate)).second; ++n)
            candidate = name + "~" + std::to_string(n);
        return candidate;
    }

private:
    static std::string folded(std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
        return s;
    }
    std::set<std::string> used_;
};

struct ExportRun {
    const Options& options;
    std::ostream& err;
    OutputNames names;
};

// Writes one output; on failure names it on err.
bool writeOutput(const std::filesystem::path& target, const std::string& input,
                 const std::function<void(iconwriter::AtomicFile&)>& fill, std::ostream& err) {
    iconwriter::AtomicFile file(target);
    fill(file);
    if (file.commit())
        return true;
    err << (printable(input) + ": cannot write " + printable(target.string()) + ": " + file.error() + "\n");
    return false;
}

bool exportFile(const std::string& path, ExportRun& run) {
    const Options& o = run.options;
    IconFile file;
    if (!openFile(path, file, run.err))
        return false;
    const std::string base = run.names.claim(std::filesystem::path(path).filename().string());
    std::vector<int> unreadable;
    bool allWritten = true;
    for (int i = 0; i < file.count(); ++i) {
        const std::filesystem::path target = o.out / (base + "-" + std::to_string(i) + "." + o.format);
        const auto put = [](iconwriter::AtomicFile& f, const iconwriter::Bytes& b) { f.write(b); };
        if (o.format == "ico") {
            iconreader::GroupProblem problem{};
            const auto group = file.storedGroup(i, &problem);
            if (problem == iconreader::GroupProblem::TooLarge) {
                run.err << printable(path) << ": icon " << i
                        << " has more than 256 images or 64 MB of them; not exported\n";
                allWritten = false;
                continue;
            }
            if (!group) {
                unreadable.push_back(i);
                continue;
            }
            allWritten = writeOutput(
                             target, path,
                             [&](iconwriter::AtomicFile& f) {
                                 iconwriter::encodeIco(
                                     *group, [&](std::span<const std::uint8_t> part) { f.write(part); });
                             },
                             run.err) &&
                         allWritten;
        } else if (o.format == "bmp") {
            const auto p = file.draw(i, o.background, o.size);
            if (!p) {
                unreadable.push_back(i);
                continue;
            }
            allWritten = writeOutput(
                             target, path, [&](auto& f) { put(f, iconwriter::encodeBmp(*p)); }, run.err) &&
                         allWritten;
        } else {
            const auto p = file.picture(i, o.size);
            if (!p) {
                unreadable.push_back(i);
                continue;
            }
            allWritten = writeOutput(
                             target, path, [&](auto& f) { put(f, iconwriter::encodePng(*p)); }, run.err) &&
                         allWritten;
        }
    }
    if (!unreadable.empty()) {
        std::ostringstream s;
        for (std::size_t k = 0; k < unreadable.size(); ++k)
            s << (k == 0 ? "" : ", ") << unreadable[k];
        run.err << printable(path) << ": damaged icon" << (unreadable.size() == 1 ? " " : "s ") << s.str()
                << " not exported\n";
        return false;
    }
    return allWritten;
}

// Which options each command takes; anything else named with it is wrong usage.
bool takes(const std::string& command, const std::string& option) {
    if (command == "export")
        return option == "--size" || option == "--format" || option == "--background" || option == "--out";
    return false;
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
        o.given.insert(a);
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
    for (const std::string& option : o.given)
        if (!takes(o.command, option))
            return usage(err, o.command + " does not take " + option);
    if (o.files.empty())
        return usage(err, "no files given");

    bool allDone = true;
    if (o.command == "list") {
        for (const std::string& f : o.files) {
            allDone = listFile(f, out, err) && allDone;
            if (!out)
                break;
        }
    } else {
        std::error_code ec;
        std::filesystem::create_directories(o.out, ec);
        if (!std::filesystem::is_directory(o.out, ec)) {
            err << printable(o.out.string()) << ": cannot make the output folder\n";
            return 1;
        }
        ExportRun run{o, err, {}};
        for (const std::string& f : o.files)
            allDone = exportFile(f, run) && allDone;
    }
    // A listing that did not reach its reader (a full disk, a closed pipe or standard output) is a failure.
    if (!out.flush()) {
        err << "vesmarin-icons: cannot write to standard output\n";
        return 1;
    }
    return allDone ? 0 : 1;
}

} // namespace vesmarin::tools
