#include "app/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStyle>

namespace vesmarin::pictures {

QIcon ButtonIcon(Button button, const QStyle* style) {
    struct Choice {
        const char* themeName;
        QStyle::StandardPixmap fallback;
    };
    Choice c{};
    switch (button) {
    case Button::Refresh:
        c = {"view-refresh", QStyle::SP_BrowserReload};
        break;
    case Button::UpOneLevel:
        c = {"go-up", QStyle::SP_FileDialogToParent};
        break;
    case Button::SavePath:
        c = {"document-save", QStyle::SP_DialogSaveButton};
        break;
    case Button::Browse:
        c = {"system-search", QStyle::SP_FileDialogContentsView};
        break;
    case Button::RecallPath:
        c = {"document-open-recent", QStyle::SP_DirOpenIcon};
        break;
    case Button::Help:
        c = {"help-contents", QStyle::SP_DialogHelpButton};
        break;
    case Button::End:
        c = {"application-exit", QStyle::SP_DialogCloseButton};
        break;
    }
    const QString name = QString::fromLatin1(c.themeName);
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return style->standardIcon(c.fallback);
}

QPixmap GreekFlag(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0x0D, 0x5E, 0xAF);
    // Nine stripes, blue first; the canton covers five of them and carries a white cross.
    const qreal stripe = height / 9.0;
    for (int i = 0; i < 9; i += 2)
        p.fillRect(QRectF(0, i * stripe, width, stripe), blue);
    const qreal canton = 5 * stripe;
    p.fillRect(QRectF(0, 0, canton, canton), blue);
    p.fillRect(QRectF(0, 2 * stripe, canton, stripe), Qt::white);
    p.fillRect(QRectF(2 * stripe, 0, stripe, canton), Qt::white);
    p.setPen(QColor(0, 0, 0, 60));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));
    return pixmap;
}

QPixmap EnglishFlag(int width, int height) {
    QPixmap pixmap(width, height);
    const QColor blue(0x01, 0x21, 0x69);
    const QColor red(0xC8, 0x10, 0x2E);
    pixmap.fill(blue);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = width;
    const qreal h = height;
    const qreal unit = h / 30.0; // the flag is 30 units high
    // White saltire, a thinner red one on it, then the white and red crosses.
    p.setPen(QPen(Qt::white, 6 * unit, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(0, 0), QPointF(w, h));
    p.drawLine(QPointF(w, 0), QPointF(0, h));
    p.setPen(QPen(red, 2 * unit, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(0, 0), QPointF(w, h));
    p.drawLine(QPointF(w, 0), QPointF(0, h));
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(0, h / 2 - 5 * unit, w, 10 * unit), Qt::white);
    p.fillRect(QRectF(w / 2 - 5 * unit, 0, 10 * unit, h), Qt::white);
    p.fillRect(QRectF(0, h / 2 - 3 * unit, w, 6 * unit), red);
    p.fillRect(QRectF(w / 2 - 3 * unit, 0, 6 * unit, h), red);
    p.setPen(QColor(0, 0, 0, 60));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return pixmap;
}

QPixmap Notice(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A tile of four small coloured icons, the program's subject, framed like a picture.
    const qreal s = size;
    QLinearGradient back(0, 0, s, s);
    back.setColorAt(0, QColor(0xFF, 0xFF, 0xE0));
    back.setColorAt(1, QColor(0xC0, 0xD8, 0xF0));
    p.setPen(QPen(QColor(0x30, 0x40, 0x70), 1));
    p.setBrush(back);
    p.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s / 6, s / 6);
    const QColor colours[] = {QColor(0xE0, 0x40, 0x30), QColor(0x30, 0x90, 0x40), QColor(0x30, 0x60, 0xD0),
                              QColor(0xE0, 0xA0, 0x20)};
    const qreal cell = (s - 2 * (s / 5)) / 2;
    const qreal gap = s / 12;
    for (int i = 0; i < 4; ++i) {
        const qreal x = s / 5 + (i % 2) * cell + gap / 2;
        const qreal y = s / 5 + (i / 2) * cell + gap / 2;
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i]);
        p.drawRoundedRect(QRectF(x, y, cell - gap, cell - gap), 2, 2);
    }
    return pixmap;
}

} // namespace vesmarin::pictures
