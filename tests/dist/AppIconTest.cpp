#include "dist/AppIcon.h"

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

using namespace vesmarin;

namespace {

// The windows name the resources directly, so each must hold a picture of its own size that is not blank:
// opaque in the middle (the tiles and the magnifier) and clear in the corners (the rounded panel). A title
// bar or a task bar asks the icon for the size it draws: it must give that rendering, not a scaled neighbour.
TEST(AppIcon, OffersEverySizeExactly) {
    const QIcon icon = ApplicationIcon(); // registers the resources too
    EXPECT_EQ(icon.availableSizes().size(), 6);
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const auto argb = [](const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); };
        const QImage image = argb(icon.pixmap(QSize(size, size)).toImage());
        EXPECT_EQ(image, argb(QImage(QStringLiteral(":/vesmarin/icons/vesmarin-%1.png").arg(size)))) << size;
        EXPECT_EQ(
            std::tuple(image.size(), qAlpha(image.pixel(size / 2, size / 2)), qAlpha(image.pixel(0, 0))),
            std::tuple(QSize(size, size), 255, 0));
    }
}

} // namespace
