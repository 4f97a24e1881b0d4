#include "dist/AppIcon.h"

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

using namespace vesmarin;

namespace {

const int kSizes[] = {16, 32, 48, 64, 128, 256};

// The windows name these resources directly, so each must hold a picture of its own size that is not blank:
// opaque in the middle (the tiles and the magnifier) and clear in the corners (the rounded panel).
TEST(AppIcon, EveryResourceSizeHoldsThePicture) {
    ApplicationIcon(); // registers the resources
    for (const int size : kSizes) {
        SCOPED_TRACE(size);
        const QImage image(QStringLiteral(":/vesmarin/icons/vesmarin-%1.png").arg(size));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(size - 1, 0)), 0);
    }
}

// A title bar or a task bar asks for the size it draws; the icon must give the exact rendering, not a scaled
// neighbour.
TEST(AppIcon, OffersEverySizeExactly) {
    const QIcon icon = ApplicationIcon();
    const QList<QSize> available = icon.availableSizes();
    ASSERT_EQ(available.size(), std::ssize(kSizes));
    for (const int size : kSizes) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(available.contains(QSize(size, size)));
        const QImage fromIcon =
            icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage fromResource = QImage(QStringLiteral(":/vesmarin/icons/vesmarin-%1.png").arg(size))
                                        .convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(fromIcon, fromResource);
    }
}

} // namespace
