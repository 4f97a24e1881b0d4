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
    const int sizes[] = {16, 32, 48, 64, 128, 256};
    EXPECT_EQ(icon.availableSizes().size(), std::ssize(sizes));
    for (const int size : sizes) {
        const QImage image = QImage(QStringLiteral(":/vesmarin/icons/vesmarin-%1.png").arg(size))
                                 .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)) + qAlpha(image.pixel(size - 1, 0)), 0) << size;
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
        EXPECT_EQ(icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32), image)
            << size;
    }
}

} // namespace
