#pragma once

// vesmarin-thumbnailer: the thumbnail of a Windows program, library or .ico file for file managers, as
// the freedesktop.org thumbnail convention asks (-s SIZE INPUT OUTPUT; a PNG at OUTPUT, or none and a
// non-zero status). Kept apart from main() so the tests can run it in-process.

#include "platform/iconreader/IconReader.h"

#include <ostream>
#include <string>
#include <vector>

namespace vesmarin::tools {

// One way to make the thumbnail: which image of the icon, and the size to scale it to (0: as stored).
struct ThumbnailChoice {
    int image = -1;
    int size = 0;
    bool operator==(const ThumbnailChoice&) const = default;
};

// The images of an icon that a thumbnail of at most size x size can take, best first. The best is the
// largest stored image that fits in size (taken as it is); only when none fits is the smallest larger
// one scaled down to size. Among equal sizes the depth closest to 32 bits comes first, then the stored
// order. Missing images are left out; the rest follow as fallbacks for an image that turns out damaged.
std::vector<ThumbnailChoice> thumbnailChoices(const std::vector<iconreader::ImageInfo>& images, int size);

// args excludes the program name. Returns 0 when the thumbnail was written, 1 when the file has no
// icon that can be drawn or the thumbnail cannot be written (OUTPUT is left as it was then), 2 for
// wrong usage.
int runThumbnailer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vesmarin::tools
