#pragma once

// Writes icons as files: PNG, 24-bit BMP and .ico encoders, the choice of an icon's largest image, the names
// of an export's files, and the writes of whole icon files. Like the reader, it needs only the standard
// library and libpng, so the command-line tool, the thumbnailer and the window program share one
// implementation.

#include "platform/iconreader/IconReader.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace vesmarin::iconwriter {

using iconreader::Picture;
using iconreader::StoredGroup;
using Bytes = std::vector<std::uint8_t>;

// A PNG file of the picture with its alpha, compressed for speed rather than size (icons are small;
// the time goes into the compression). Empty when libpng fails.
Bytes encodePng(const Picture& picture);

// A 24-bit bitmap file (rows bottom-up, padded to four bytes); the alpha byte of each pixel is ignored,
// so draw the icon on a background first.
Bytes encodeBmp(const Picture& picture);

// An .ico file holding the group's images as stored, handed to put part by part (the directory, then
// each image's bytes), so a large group is never copied whole. Entries that share their bytes point at
// one copy of them. Nothing is put for an empty group or one of more than 65535 images.
void encodeIco(const StoredGroup& group, const std::function<void(std::span<const std::uint8_t>)>& put);
// The same, joined in memory.
Bytes encodeIco(const StoredGroup& group);

// ---- Icons written to files ----
// Every file is written whole or not at all, through the programs' one file replace
// (platform/filewrite/AtomicFile.h).

// The largest image of icon `index`'s group that can be read: the most pixels, then the most bits per pixel;
// -1 when none can.
int largestImage(const iconreader::IconFile& file, int index);

// One image of icon `index`'s group as a PNG file with its transparency, at its own size: its stored bytes
// when it is a sound PNG, else the image decoded and encoded. nullopt when it is missing or damaged.
std::optional<Bytes> imagePng(const iconreader::IconFile& file, int index, int image);

// How writing one icon ended.
struct WriteOutcome {
    enum Kind {
        Written,
        Damaged,    // the icon or its image cannot be read
        TooLarge,   // its group holds more images, or more bytes of them, than an .ico output takes
        NotWritten, // the file could not be written: errorNumber says why
    };
    Kind kind = Written;
    int errorNumber = 0;

    bool written() const { return kind == Written; }
};

// Writes bytes as the whole content of `target`.
WriteOutcome writeFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);
// Writes the image `image` of icon `index` (largestImage() when -1) as a PNG file.
WriteOutcome writeImagePng(const iconreader::IconFile& file, int index, int image,
                           const std::filesystem::path& target);
// Writes the whole group of icon `index` as stored, every image, as an .ico file.
WriteOutcome writeIco(const iconreader::IconFile& file, int index, const std::filesystem::path& target);

// The file names of one export: "<name>-<index>.<extension>" for icon `index` of a file called `name`. The
// first input to use a file name keeps it; a later one takes <name>~2, ~3, ... Names are compared without
// ASCII letter case, since the output folder may lie on a file system that ignores it. Distinct names give
// distinct outputs, since the fields after the name hold no '-' of their own.
class OutputNames {
public:
    // The name the outputs of a file called `name` take (call once per input file).
    std::string claim(const std::string& name);

private:
    std::set<std::string> used_;
};

std::string outputName(const std::string& claimed, int index, const std::string& extension);

} // namespace vesmarin::iconwriter
