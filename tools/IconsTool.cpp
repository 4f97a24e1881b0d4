#include "tools/IconsTool.h"

#include "browse/core/DirectoryScanner.h"
#include "platform/filewrite/AtomicFile.h"
#include "platform/iconreader/IconReader.h"
#include "platform/iconwriter/IconWriter.h"
#include "tools/TextEscapes.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <sys/stat.h>

#ifndef VESMARIN_VERSION
#define VESMARIN_VERSION "unknown"
#endif

namespace vesmarin::tools {
namespace {

namespace fs = std::filesystem;
using iconreader::IconFile;
using iconreader::Picture;

constexpr const char* kHelp =
    R"(Usage: vesmarin-icons list [--format text|tsv|json] [-r [--kinds LIST]] FILE|FOLDER...
       vesmarin-icons export [--size N | --all-sizes] [--format png|bmp|ico] [--background RRGGBB]
                             [--out DIR] [--index N]... [-v] [-r [--kinds LIST]] FILE|FOLDER...
       vesmarin-icons --help | --version

Reads the icons stored in Windows programs and libraries (PE32, PE32+ and 16-bit NE .exe/.dll files)
and in .ico files. Icon index N is the N-th icon group of a file in the order the file stores it; an
.ico file holds one icon, index 0.

list      For each file, each icon and each of its images: the size, bits per pixel, PNG or bitmap, and
          whether a 32x32 icon takes it.
            --format text  (default) for people: '*' marks the image a 32x32 icon takes
            --format tsv   a header line, then one line per image, fields separated by tabs: file, index,
                           group (its name, or its number; empty in an .ico file), language (empty in
                           NE and .ico files), width, height, bpp, format (png, bitmap, missing, or
                           damaged for a group that cannot be read), chosen (1 for the image a 32x32
                           icon takes, else 0)
            --format json  one document: {"files": [{"file", "kind", "icons": [{"index", "group",
                           "language", "images": [{"width", "height", "bpp", "format", "chosen"}]}]}]};
                           group is a string for a named group, a number for a numbered one and null in
                           an .ico file; a file that cannot be read is {"file", "error"}
          In text and tsv, control characters in names are shown escaped (\n, \t, \x1b, \u009b) and a
          backslash as \\. In json, bytes of a file name that are not UTF-8 appear as \udc80 to \udcff.

export    Writes each icon to DIR/<file name>-<index>.<ext>.
            --format png   (default) the icon with its transparency; an image stored as a PNG of exactly
                           the asked size is written byte for byte as stored
            --format bmp   the icon drawn on the background colour, as a 24-bit bitmap
            --format ico   the whole icon group with all its images as stored; a group of more than 256
                           images or more than 64 MB of them is not written
            --size N       picks and scales the image for an N x N icon (default 32, 1 to 1024; not used
                           by ico)
            --all-sizes    writes every image of each icon as stored, without scaling, as PNG files
                           named DIR/<file name>-<index>-<width>x<height>-<bpp>.png (a second image of the
                           same size and depth in one icon adds ~2, ~3, ... after the bpp)
            --background RRGGBB   hexadecimal colour for bmp (default FFFFFF)
            --index N      exports only icon N; repeat it for more (default: every icon)
            --out DIR      the folder to write to (default: the current folder; made when missing)
            -v, --verbose  prints the path of each file written, one per line, escaped as in list;
                           without it export prints nothing but its problems
          Each file is written whole under a temporary name and then renamed, so a failed write leaves
          any earlier file of that name as it was. When a file name was already used by an earlier
          input of the same run (letter case aside), the later input's files take <file name>~2 in place
          of <file name> (then ~3, ...), so no output replaces another.

Both commands:
  -r, --recursive  a FOLDER is searched with all the folders below it, as the window's Browse does:
                   depth first, each folder before its subfolders, names in alphabetical order without
                   regard to case, each real folder once, kernel file systems (/proc, /sys, ...) left
                   out; a file found twice is read once
  --kinds LIST     with -r, the kinds of file taken from folders, separated by commas: exe, dll, ico
                   (default exe,dll,ico); files named on the command line are always read
  --help           shows this text
  --version        shows the version

Limits: images wider or taller than 1024 pixels are skipped, and so is a PNG image whose data inflates
to far more than its rows need; an .ico output holds at most 256 images and 64 MB.

A file that cannot be read or holds no icons gives one line on standard error and the next file
follows. Exit status: 0 when everything was read and written; 1 when a file or folder cannot be read,
a file holds no icons, an icon or image could not be exported (damaged, too large, or no icon of an
asked --index), or an output file or the standard output could not be written; 2 for wrong usage,
including an option the command does not take.
)";

enum Kind : unsigned { kExe = 1, kDll = 2, kIco = 4 };

struct Options {
    std::string command;
    int size = 32;
    std::string format; // empty: the command's default
    std::uint32_t background = 0xFFFFFF;
    fs::path out = ".";
    std::set<int> indexes;
    bool allSizes = false;
    bool recursive = false;
    bool verbose = false;
    unsigned kinds = kExe | kDll | kIco;
    std::vector<std::string> inputs;
    std::set<std::string> given; // the options named on the command line, by their long names
};

struct OptionSpec {
    const char* name;
    char shortName;
    bool takesValue;
    bool list;
    bool exportCommand;
};

constexpr OptionSpec kOptions[] = {
    {"--format", 0, true, true, true},      {"--recursive", 'r', false, true, true},
    {"--kinds", 0, true, true, true},       {"--size", 0, true, false, true},
    {"--background", 0, true, false, true}, {"--out", 0, true, false, true},
    {"--index", 0, true, false, true},      {"--all-sizes", 0, false, false, true},
    {"--verbose", 'v', false, false, true},
};

const OptionSpec* findOption(const std::string& name) {
    for (const OptionSpec& o : kOptions)
        if (name == o.name ||
            (o.shortName != 0 && name.size() == 2 && name[0] == '-' && name[1] == o.shortName))
            return &o;
    return nullptr;
}

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

bool parseKinds(const std::string& text, unsigned& kinds) {
    kinds = 0;
    std::stringstream s(text);
    std::string item;
    while (std::getline(s, item, ',')) {
        std::transform(item.begin(), item.end(), item.begin(),
                       [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
        if (item == "exe")
            kinds |= kExe;
        else if (item == "dll")
            kinds |= kDll;
        else if (item == "ico")
            kinds |= kIco;
        else
            return false;
    }
    return kinds != 0 && !text.empty() && text.back() != ',';
}

// The Browse patterns for the chosen kinds: every spelling of each extension, as the names are matched
// with their case.
std::string kindPatterns(unsigned kinds) {
    std::string list;
    for (const auto& [kind, ext] : {std::pair{kExe, "exe"}, std::pair{kDll, "dll"}, std::pair{kIco, "ico"}}) {
        if ((kinds & kind) == 0)
            continue;
        for (int bits = 7; bits >= 0; --bits) {
            std::string p = "*.";
            for (int k = 0; k < 3; ++k)
                p += static_cast<char>((bits >> (2 - k) & 1) != 0 ? ext[k] - 32 : ext[k]);
            list += (list.empty() ? "" : ";") + p;
        }
    }
    return list;
}

// The options named on a command line, with their values, in order.
using GivenOptions = std::vector<std::pair<const OptionSpec*, std::string>>;

// Reads the option args[i] (and its value, which may be the next argument: i then moves past it) into
// seen; a status to return at once (2 for wrong usage), or -1.
int readOption(const std::vector<std::string>& args, std::size_t& i, GivenOptions& seen, std::ostream& err) {
    const std::string& a = args[i];
    if (a[1] != '-' && a.size() > 2) { // -rv: flags written together
        for (std::size_t k = 1; k < a.size(); ++k) {
            const OptionSpec* spec = findOption(std::string("-") + a[k]);
            if (spec == nullptr || spec->takesValue)
                return usage(err, "unknown option " + a);
            seen.emplace_back(spec, "");
        }
        return -1;
    }
    const auto eq = a.find('=');
    const std::string name = a.substr(0, eq);
    const OptionSpec* spec = findOption(name);
    if (spec == nullptr)
        return usage(err, "unknown option " + a);
    std::string value;
    if (!spec->takesValue) {
        if (eq != std::string::npos)
            return usage(err, std::string(spec->name) + " takes no value");
    } else if (eq != std::string::npos) {
        value = a.substr(eq + 1);
    } else if (i + 1 < args.size()) {
        value = args[++i];
    } else {
        return usage(err, std::string(spec->name) + " needs a value");
    }
    seen.emplace_back(spec, value);
    return -1;
}

// Splits the command line into the command, the inputs and the options; a status to return at once
// (0 for --help and --version, 2 for wrong usage), or -1.
int readCommandLine(const std::vector<std::string>& args, Options& o, GivenOptions& seen, std::ostream& out,
                    std::ostream& err) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            (o.command.empty() ? o.command : o.inputs.emplace_back()) = a;
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
        if (a == "--version") {
            out << "vesmarin-icons " VESMARIN_VERSION "\n";
            return 0;
        }
        if (const int status = readOption(args, i, seen, err); status >= 0)
            return status;
    }
    return -1;
}

// Takes one option's value into o, once the command is known; 2 when the command does not take the
// option or the value is wrong, else -1.
int applyOption(const OptionSpec& spec, const std::string& value, Options& o, std::ostream& err) {
    const bool list = o.command == "list";
    const std::string name = spec.name;
    if (!(list ? spec.list : spec.exportCommand))
        return usage(err, o.command + " does not take " + name);
    o.given.insert(name);
    if (name == "--size") {
        if (!parseInt(value, o.size) || o.size < 1 || o.size > iconreader::kMaxDimension)
            return usage(err, "--size takes a number from 1 to 1024, not '" + value + "'");
    } else if (name == "--format") {
        const bool known = list ? (value == "text" || value == "tsv" || value == "json")
                                : (value == "png" || value == "bmp" || value == "ico");
        if (!known)
            return usage(err, std::string("--format of ") + o.command + " takes " +
                                  (list ? "text, tsv or json" : "png, bmp or ico") + ", not '" + value + "'");
        o.format = value;
    } else if (name == "--background") {
        if (!parseColour(value, o.background))
            return usage(err, "--background takes a colour RRGGBB in hexadecimal, not '" + value + "'");
    } else if (name == "--out") {
        if (value.empty())
            return usage(err, "--out needs a folder");
        o.out = value;
    } else if (name == "--index") {
        int n = 0;
        if (!parseInt(value, n) || n < 0)
            return usage(err, "--index takes an icon index from 0, not '" + value + "'");
        o.indexes.insert(n);
    } else if (name == "--kinds") {
        if (!parseKinds(value, o.kinds))
            return usage(err, "--kinds takes a list of exe, dll and ico, not '" + value + "'");
    } else if (name == "--all-sizes") {
        o.allSizes = true;
    } else if (name == "--recursive") {
        o.recursive = true;
    } else if (name == "--verbose") {
        o.verbose = true;
    }
    return -1;
}

// Reads the command line into o; a status to return at once (0 for --help, 2 for wrong usage), or -1.
int parseArguments(const std::vector<std::string>& args, Options& o, std::ostream& out, std::ostream& err) {
    GivenOptions seen;
    if (const int status = readCommandLine(args, o, seen, out, err); status >= 0)
        return status;
    if (o.command.empty())
        return usage(err, "no command given");
    if (o.command != "list" && o.command != "export")
        return usage(err, "unknown command '" + o.command + "'");
    for (const auto& [spec, value] : seen)
        if (const int status = applyOption(*spec, value, o, err); status >= 0)
            return status;
    // Options that do not go together, and defaults that depend on the command.
    if (o.format.empty())
        o.format = o.command == "list" ? "text" : "png";
    if (o.given.count("--kinds") != 0 && !o.recursive)
        return usage(err, "--kinds is used only with -r");
    if (o.allSizes && (o.given.count("--size") != 0 || o.format != "png"))
        return usage(err, "--all-sizes writes PNG files at the stored sizes: no --size, no other --format");
    if (o.inputs.empty())
        return usage(err, "no files given");
    return -1;
}

// ---- the files a run reads ----

// The command line's files, and with -r the files found in its folders, in order; each file found in a
// folder is taken once. Folders that cannot be searched are reported; ok turns false then.
std::vector<std::string> collectInputs(const Options& o, std::ostream& err, bool& ok) {
    std::vector<std::string> files;
    std::set<std::pair<dev_t, ino_t>> taken;
    const auto identity = [](const std::string& path) -> std::optional<std::pair<dev_t, ino_t>> {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return std::nullopt;
        return std::pair{st.st_dev, st.st_ino};
    };
    const std::string patterns = kindPatterns(o.kinds);
    for (const std::string& input : o.inputs) {
        std::error_code ec;
        if (!o.recursive || !fs::is_directory(input, ec)) {
            if (const auto id = identity(input))
                taken.insert(*id);
            files.push_back(input);
            continue;
        }
        fs::directory_iterator probe(input, ec);
        if (ec) {
            err << (printable(input) + ": cannot search the folder: " + ec.message() + "\n");
            ok = false;
            continue;
        }
        std::vector<std::string> found;
        try {
            CollectFiles(input, 0, patterns, found);
        } catch (const ScanError& e) {
            err << (printable(input) + ": the search ended early: " + printable(e.description()) + "\n");
            ok = false;
        }
        for (std::string& f : found) {
            const auto id = identity(f);
            if (id && !taken.insert(*id).second)
                continue;
            files.push_back(std::move(f));
        }
    }
    return files;
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

// Opens a file for the commands; the reason when it cannot be used, else empty.
std::string openFile(const std::string& path, IconFile& file) {
    file = IconFile(path);
    if (!file.problem().empty())
        return file.problem();
    if (file.count() == 0)
        return "no icons";
    return {};
}

bool hasLanguages(const IconFile& f) {
    return f.kind() == iconreader::FileKind::Pe32 || f.kind() == iconreader::FileKind::Pe32Plus;
}

const char* formatName(const iconreader::ImageInfo& im) {
    if (!im.present)
        return "missing";
    return im.format == iconreader::ImageFormat::Png ? "png" : "bitmap";
}

// ---- list ----

class Listing {
public:
    virtual ~Listing() = default;
    virtual void begin() {}
    virtual void file(const std::string& path, const IconFile& f) = 0;
    virtual void unreadable(const std::string& path, const std::string& reason) = 0;
    virtual void end() {}
};

class TextListing : public Listing {
public:
    explicit TextListing(std::ostream& out) : out_(out) {}
    void file(const std::string& path, const IconFile& f) override {
        const int n = f.count();
        out_ << printable(path) << ": " << n << (n == 1 ? " icon" : " icons") << " (" << kindName(f.kind())
             << ")\n";
        for (int i = 0; i < n && out_; ++i) {
            const auto info = f.info(i);
            if (!info) {
                out_ << "  " << i << ": damaged group\n";
                continue;
            }
            out_ << "  " << i << ": ";
            if (f.kind() == iconreader::FileKind::Ico)
                out_ << "icon file";
            else if (!info->name.empty())
                out_ << "group \"" << printable(info->name) << "\"";
            else
                out_ << "group " << info->id;
            if (hasLanguages(f))
                out_ << ", language " << info->language;
            out_ << "\n";
            for (std::size_t k = 0; k < info->images.size(); ++k) {
                const auto& im = info->images[k];
                out_ << "    " << (static_cast<int>(k) == info->chosen ? "* " : "  ");
                if (!im.present)
                    out_ << "image " << im.id << " missing\n";
                else
                    out_ << im.width << "x" << im.height << ", " << im.bitCount << " bpp, "
                         << (im.format == iconreader::ImageFormat::Png ? "PNG" : "bitmap") << "\n";
            }
        }
    }
    void unreadable(const std::string&, const std::string&) override {}

private:
    std::ostream& out_;
};

class TsvListing : public Listing {
public:
    explicit TsvListing(std::ostream& out) : out_(out) {}
    void begin() override { out_ << "file\tindex\tgroup\tlanguage\twidth\theight\tbpp\tformat\tchosen\n"; }
    void file(const std::string& path, const IconFile& f) override {
        const std::string file = printable(path);
        for (int i = 0; i < f.count() && out_; ++i) {
            const auto info = f.info(i);
            if (!info) {
                out_ << file << '\t' << i << "\t\t\t\t\t\tdamaged\t0\n";
                continue;
            }
            std::string group;
            if (f.kind() != iconreader::FileKind::Ico)
                group = info->name.empty() ? std::to_string(info->id) : printable(info->name);
            const std::string language = hasLanguages(f) ? std::to_string(info->language) : "";
            for (std::size_t k = 0; k < info->images.size(); ++k) {
                const auto& im = info->images[k];
                out_ << file << '\t' << i << '\t' << group << '\t' << language << '\t' << im.width << '\t'
                     << im.height << '\t' << im.bitCount << '\t' << formatName(im) << '\t'
                     << (static_cast<int>(k) == info->chosen ? 1 : 0) << '\n';
            }
        }
    }
    void unreadable(const std::string&, const std::string&) override {}

private:
    std::ostream& out_;
};

class JsonListing : public Listing {
public:
    explicit JsonListing(std::ostream& out) : out_(out) {}
    void begin() override { out_ << "{\"files\": ["; }
    void file(const std::string& path, const IconFile& f) override {
        next();
        out_ << "{\"file\": " << jsonString(path) << ", \"kind\": " << jsonString(kindName(f.kind()))
             << ", \"icons\": [";
        for (int i = 0; i < f.count() && out_; ++i) {
            out_ << (i == 0 ? "" : ", ") << "{\"index\": " << i;
            const auto info = f.info(i);
            if (!info) {
                out_ << ", \"error\": \"damaged group\"}";
                continue;
            }
            out_ << ", \"group\": ";
            if (f.kind() == iconreader::FileKind::Ico)
                out_ << "null";
            else if (!info->name.empty())
                out_ << jsonString(info->name);
            else
                out_ << info->id;
            out_ << ", \"language\": " << (hasLanguages(f) ? std::to_string(info->language) : "null")
                 << ", \"images\": [";
            for (std::size_t k = 0; k < info->images.size(); ++k) {
                const auto& im = info->images[k];
                out_ << (k == 0 ? "" : ", ") << "{\"width\": " << im.width << ", \"height\": " << im.height
                     << ", \"bpp\": " << im.bitCount << ", \"format\": \"" << formatName(im)
                     << "\", \"chosen\": " << (static_cast<int>(k) == info->chosen ? "true" : "false") << "}";
            }
            out_ << "]}";
        }
        out_ << "]}";
    }
    void unreadable(const std::string& path, const std::string& reason) override {
        next();
        out_ << "{\"file\": " << jsonString(path) << ", \"error\": " << jsonString(reason) << "}";
    }
    void end() override { out_ << (first_ ? "" : "\n") << "]}\n"; }

private:
    void next() {
        out_ << (first_ ? "\n" : ",\n");
        first_ = false;
    }
    std::ostream& out_;
    bool first_ = true;
};

// ---- export ----

class Exporter {
public:
    Exporter(const Options& o, std::ostream& out, std::ostream& err) : o_(o), out_(out), err_(err) {}

    bool exportFile(const std::string& path) {
        IconFile file;
        if (const std::string problem = openFile(path, file); !problem.empty()) {
            err_ << (printable(path) + ": " + problem + "\n");
            return false;
        }
        path_ = &path;
        const std::string base = names_.claim(fs::path(path).filename().string());
        bool ok = true;
        std::vector<int> damaged;
        for (int i : indexes(file, ok)) {
            const bool exported = o_.allSizes          ? allSizes(file, i, base + "-" + std::to_string(i), ok)
                                  : o_.format == "ico" ? ico(file, i, base, ok)
                                                       : picture(file, i, base, ok);
            if (!exported)
                damaged.push_back(i);
        }
        if (!damaged.empty()) {
            reportDamaged(damaged);
            ok = false;
        }
        return ok;
    }

private:
    // One line for all the icons of the file that could not be exported.
    void reportDamaged(const std::vector<int>& damaged) {
        std::ostringstream s;
        for (std::size_t k = 0; k < damaged.size(); ++k)
            s << (k == 0 ? "" : ", ") << damaged[k];
        err_ << printable(*path_) << ": damaged icon" << (damaged.size() == 1 ? " " : "s ") << s.str()
             << " not exported\n";
    }

    std::vector<int> indexes(const IconFile& file, bool& ok) {
        std::vector<int> out;
        if (o_.indexes.empty()) {
            for (int i = 0; i < file.count(); ++i)
                out.push_back(i);
            return out;
        }
        for (int i : o_.indexes) {
            if (i < file.count()) {
                out.push_back(i);
                continue;
            }
            err_ << printable(*path_) << ": no icon " << i << " (it has " << file.count() << ")\n";
            ok = false;
        }
        return out;
    }

    // Names a written output on out when asked, or says on err why it could not be written.
    void report(const fs::path& target, const iconwriter::WriteOutcome& outcome, bool& ok) {
        if (outcome.kind == iconwriter::WriteOutcome::NotWritten) {
            err_ << (printable(*path_) + ": cannot write " + printable(target.string()) + ": " +
                     filewrite::describe(outcome.errorNumber) + "\n");
            ok = false;
        } else if (o_.verbose) {
            out_ << printable(target.string()) << '\n';
        }
    }
    void write(const std::string& name, const iconwriter::Bytes& bytes, bool& ok) {
        const fs::path target = o_.out / name;
        report(target, iconwriter::writeFile(target, bytes), ok);
    }

    bool picture(const IconFile& file, int i, const std::string& base, bool& ok) {
        if (o_.format == "bmp") {
            const auto p = file.draw(i, o_.background, o_.size);
            if (p)
                write(iconwriter::outputName(base, i, "bmp"), iconwriter::encodeBmp(*p), ok);
            return p.has_value();
        }
        if (const auto stored = file.storedPng(i, o_.size)) {
            write(iconwriter::outputName(base, i, "png"), *stored, ok);
            return true;
        }
        const auto p = file.picture(i, o_.size);
        if (p)
            write(iconwriter::outputName(base, i, "png"), iconwriter::encodePng(*p), ok);
        return p.has_value();
    }

    bool ico(const IconFile& file, int i, const std::string& base, bool& ok) {
        const fs::path target = o_.out / iconwriter::outputName(base, i, "ico");
        const iconwriter::WriteOutcome outcome = iconwriter::writeIco(file, i, target);
        if (outcome.kind == iconwriter::WriteOutcome::TooLarge) {
            err_ << printable(*path_) << ": icon " << i
                 << " has more than 256 images or 64 MB of them; not exported\n";
            ok = false;
            return true;
        }
        if (outcome.kind == iconwriter::WriteOutcome::Damaged)
            return false;
        report(target, outcome, ok);
        return true;
    }

    bool allSizes(const IconFile& file, int i, const std::string& stem, bool& ok) {
        const auto info = file.info(i);
        if (!info)
            return false;
        std::map<std::string, int> seen;
        for (std::size_t k = 0; k < info->images.size(); ++k) {
            const auto& im = info->images[k];
            std::string name = stem + "-" + std::to_string(im.width) + "x" + std::to_string(im.height) + "-" +
                               std::to_string(im.bitCount);
            if (const int n = ++seen[name]; n > 1)
                name += "~" + std::to_string(n);
            const auto png = iconwriter::imagePng(file, i, static_cast<int>(k));
            if (!png) {
                err_ << printable(*path_) << ": icon " << i << ", image " << k << " ("
                     << (im.present ? "damaged" : "missing") << ") not exported\n";
                ok = false;
                continue;
            }
            write(name + ".png", *png, ok);
        }
        return true;
    }

    const Options& o_;
    std::ostream& out_;
    std::ostream& err_;
    iconwriter::OutputNames names_;
    const std::string* path_ = nullptr;
};

// The list command over the files, in the chosen format; false when some file cannot be read. Stops
// early when the output can no longer be written.
bool listFiles(const Options& o, const std::vector<std::string>& files, std::ostream& out,
               std::ostream& err) {
    std::unique_ptr<Listing> listing;
    if (o.format == "tsv")
        listing = std::make_unique<TsvListing>(out);
    else if (o.format == "json")
        listing = std::make_unique<JsonListing>(out);
    else
        listing = std::make_unique<TextListing>(out);
    bool ok = true;
    listing->begin();
    for (const std::string& path : files) {
        IconFile file;
        if (const std::string problem = openFile(path, file); !problem.empty()) {
            err << (printable(path) + ": " + problem + "\n");
            listing->unreadable(path, problem);
            ok = false;
        } else {
            listing->file(path, file);
        }
        if (!out)
            break;
    }
    listing->end();
    return ok;
}

} // namespace

int runIconsTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options o;
    if (const int status = parseArguments(args, o, out, err); status >= 0)
        return status;

    bool ok = true;
    if (o.command == "export") {
        std::error_code ec;
        fs::create_directories(o.out, ec);
        if (!fs::is_directory(o.out, ec)) {
            err << printable(o.out.string()) << ": cannot make the output folder\n";
            return 1;
        }
    }
    const std::vector<std::string> files = collectInputs(o, err, ok);
    if (o.command == "list") {
        ok = listFiles(o, files, out, err) && ok;
    } else {
        Exporter exporter(o, out, err);
        for (const std::string& path : files)
            ok = exporter.exportFile(path) && ok;
    }
    // Output that did not reach its reader (a full disk, a closed pipe or standard output) is a failure.
    if (!out.flush()) {
        err << "vesmarin-icons: cannot write to standard output\n";
        return 1;
    }
    return ok ? 0 : 1;
}

} // namespace vesmarin::tools
