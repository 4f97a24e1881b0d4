#include "ui/Layout.h"

#include <QFontDatabase>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace vesmarin {

void PlaceInTwips(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                         TwipsToPixels(height));
}

void EdgeAnchors::add(QWidget* control, unsigned follow) {
    anchors_.push_back({control, control->geometry(), follow});
}

void EdgeAnchors::apply(const QSize& size) const {
    const int dx = std::max(0, size.width() - designed_.width());
    const int dy = std::max(0, size.height() - designed_.height());
    for (const Anchor& a : anchors_) {
        if (!a.control)
            continue;
        QRect r = a.designed;
        r.translate(0, (a.follow & Bottom) ? dy : 0);
        r.setRight(r.right() + ((a.follow & GrowRight) ? dx : 0));
        r.setBottom(r.bottom() + ((a.follow & GrowDown) ? dy : 0));
        a.control->setGeometry(r);
    }
}

namespace {

double Luminance(const QColor& c) {
    const auto channel = [](float v) {
        return v <= 0.04045f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

// `colour` when it reaches `minimum` contrast on the background, else black or white, whichever reads.
QColor Readable(const QColor& colour, const QColor& background, double minimum) {
    if (Contrast(colour, background) >= minimum)
        return colour;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return Contrast(black, background) >= Contrast(white, background) ? black : white;
}

} // namespace

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette PaletteOnBackground(QPalette palette, const QColor& background) {
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        // A text should read at the guidelines' 4.5; a disabled one need only be told from the background,
        // and so do the dotted lines.
        const double text = group == QPalette::Disabled ? 1.5 : 4.5;
        for (const auto role : {QPalette::Text, QPalette::WindowText})
            palette.setColor(group, role, Readable(palette.color(group, role), background, text));
        palette.setColor(group, QPalette::Dark,
                         Readable(palette.color(group, QPalette::Dark), background, 2.0));
    }
    return palette;
}

QFont ProgramFont(qreal pointSize) {
    static const bool haveTahoma =
        QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive);
    QFont font =
        haveTahoma ? QFont(QStringLiteral("Tahoma")) : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (!haveTahoma)
        font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace vesmarin
