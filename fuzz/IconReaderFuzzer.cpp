// libFuzzer target: any bytes, taken both as a whole file and as a single icon image.
#include "platform/iconreader/IconImage.h"
#include "platform/iconreader/IconReader.h"
#include "platform/iconwriter/IconWriter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace vesmarin::iconreader;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const IconFile file = IconFile::fromBytes(std::vector<std::uint8_t>(data, data + size));
    const int count = std::min(file.count(), 6);
    for (int i = 0; i < count; ++i) {
        (void)file.info(i);
        (void)file.picture(i, 13);
        (void)file.draw(i, 0x123456);
        (void)file.draw(i, 0xFFFFFF, 48);
        (void)file.storedPng(i, 256);
        (void)file.imagePicture(i, 0);
        (void)file.storedImagePng(i, 1);
        if (const auto group = file.storedGroup(i)) {
            const IconFile again = IconFile::fromBytes(vesmarin::iconwriter::encodeIco(*group));
            (void)again.draw(0, 0);
        }
    }
    (void)file.picture(count);

    if (const auto image = detail::decodeImage({data, size})) {
        (void)detail::drawOn(detail::scaleImage(*image, 32), 0xC0C0C0);
        (void)detail::toPicture(detail::scaleImage(*image, 5));
    }
    (void)detail::readImageHeader({data, size});
    (void)detail::soundPngSize({data, size});
    return 0;
}
