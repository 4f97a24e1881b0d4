#pragma once

// Reads the icons stored in Windows programs and libraries (PE32, PE32+ and 16-bit NE) and in .ico files,
// without any window toolkit. Input is untrusted: nothing here throws or crashes on a damaged file; a file
// that cannot be read, or is none of these formats, simply has no icons.
//
// Typical use (the icon grid):
//
//     vesmarin::iconreader::IconFile file(path);          // opens and parses the file once
//     for (int i = 0;; ++i) {
//         auto cell = file.draw(i, 0xF0F0F0);             // 32x32, drawn on a background colour
//         if (!cell)
//             break;                                       // the first index without an icon ends it
//         ...
//     }
//
// Icon index N is the N-th entry of the file's icon-group resources in the order the file stores them
// (named groups first, then numeric IDs, as stored; never re-sorted), taking each group's first language.
// An .ico file holds one icon, index 0.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vesmarin::iconreader {

// The largest width or height of an image, and of a requested picture size.
inline constexpr int kMaxDimension = 1024;

// A picture of width x height pixels, rows from top to bottom, each pixel 0xAARRGGBB with straight
// (not premultiplied) alpha. This is the layout of QImage::Format_ARGB32 on every platform.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

enum class FileKind { None, Pe32, Pe32Plus, Ne, Ico };

enum class ImageFormat { Bitmap, Png };

// One image of an icon group as the listing shows it.
struct ImageInfo {
    int width = 0; // from the image's own header when it can be read, else from the group (0 = 256)
    int height = 0;
    int bitCount = 0;                         // likewise; 0 when unknown
    ImageFormat format = ImageFormat::Bitmap; // Png for PNG-compressed images
    std::uint16_t id = 0;                     // its resource ID (in an .ico file: its position, from 1)
    std::uint32_t size = 0;                   // bytes of stored data
    bool present = false;                     // false when the file does not hold the image
};

// What an icon index stands for.
struct GroupInfo {
    std::string name;           // the group's name in UTF-8 for a named group, empty for a numeric one
    std::uint16_t id = 0;       // the numeric ID (0 for a named group or an .ico file)
    std::uint16_t language = 0; // the language of the sub-entry taken (0 in NE and .ico files)
    std::vector<ImageInfo> images;
    int chosen = -1; // the image a picture of the asked size takes, -1 when none can be taken
};

// One image exactly as stored, with the group's directory fields for it.
struct StoredImage {
    std::uint8_t width = 0; // 0 stands for 256
    std::uint8_t height = 0;
    std::uint8_t colorCount = 0;
    std::uint8_t reserved = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint16_t id = 0;
    // The image bytes (a bitmap with its mask, or a PNG file). Entries of a group that name the same
    // stored bytes share one copy, so a group listing one image many times costs that image once.
    std::shared_ptr<const std::vector<std::uint8_t>> data;
};

// A whole icon group: all its images as stored, in the group's order. Images the file lacks are left out.
struct StoredGroup {
    std::vector<StoredImage> images;
};

// The most a stored group may hold: real icons have a few dozen images of a few megabytes at most, and
// a crafted file must not make a copy of its group grow without bound.
inline constexpr std::size_t kMaxStoredImages = 256;
inline constexpr std::uint64_t kMaxStoredBytes = 64u << 20; // the distinct images together

enum class GroupProblem {
    None,
    Damaged,  // the group cannot be read or none of its images is present
    TooLarge, // more than kMaxStoredImages images present, or more than kMaxStoredBytes of them
};

// One opened file. Its const functions share a small read cache, so one object serves one thread at a
// time; separate objects are independent.
class IconFile {
public:
    // A file without icons.
    IconFile() noexcept;
    // Opens the file (read range by range, never whole) and parses its resource directory once; the file
    // stays open until the object goes. Never throws:
    // check count(), and problem() for the reason when it is 0.
    explicit IconFile(const std::string& path) noexcept;
    // The same over bytes already in memory.
    static IconFile fromBytes(std::vector<std::uint8_t> bytes) noexcept;

    IconFile(IconFile&&) noexcept;
    IconFile& operator=(IconFile&&) noexcept;
    IconFile(const IconFile&) = delete;
    IconFile& operator=(const IconFile&) = delete;
    ~IconFile();

    FileKind kind() const noexcept;
    // Empty when the file was read and is one of the formats above; otherwise one line saying why not
    // ("cannot open: No such file or directory", "not a PE, NE or icon file", ...).
    const std::string& problem() const noexcept;

    // The number of icon indexes: the entries of the file's icon-group resources. An index below it
    // may still give no picture when its group or images are damaged or missing; the platform ends its
    // index loop at the first such index, and so should a caller that imitates it.
    int count() const noexcept;

    // The group, its images and the one a picture of size x size takes. nullopt when index is out of range
    // or its group cannot be read.
    std::optional<GroupInfo> info(int index, int size = 32) const noexcept;

    // The icon as a size x size picture with its transparency: the image closest to that size, scaled
    // when it is not that size. Pixels that the screen would invert come out transparent.
    // nullopt when there is no icon at that index or size is outside 1..kMaxDimension.
    std::optional<Picture> picture(int index, int size = 32) const noexcept;

    // One image of the group, image being its place in info(index).images: at its own size when size is
    // 0, else scaled to size x size. nullopt when the image is missing or damaged, or size is outside
    // 0..kMaxDimension.
    std::optional<Picture> imagePicture(int index, int image, int size = 0) const noexcept;

    // The stored bytes of the image picture(index, size) takes first, when that image is a sound PNG of
    // exactly size x size: written as they are, they give the same picture without decoding or encoding
    // anything. nullopt otherwise (then use picture()).
    std::optional<std::vector<std::uint8_t>> storedPng(int index, int size) const noexcept;
    // Likewise for one image of the group, at whatever size it has.
    std::optional<std::vector<std::uint8_t>> storedImagePng(int index, int image) const noexcept;

    // The icon drawn on an opaque background as the screen shows it: alpha images blend over it; mask
    // images show the background where the mask is set and invert it where the colour is set there too.
    // background is 0xRRGGBB (the top byte is ignored, so a QRgb fits). The result is fully opaque.
    std::optional<Picture> draw(int index, std::uint32_t background, int size = 32) const noexcept;

    // The whole group as stored, for writing an .ico file. nullopt, with the reason in problem, when the
    // group cannot be read, none of its images is present, or it is larger than the limits above (then
    // nothing of it is read).
    std::optional<StoredGroup> storedGroup(int index, GroupProblem* problem = nullptr) const noexcept;

    struct Data;

private:
    explicit IconFile(std::unique_ptr<Data> data) noexcept;
    std::unique_ptr<Data> d;
};

} // namespace vesmarin::iconreader
