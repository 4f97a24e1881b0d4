// Build-time helper: renders the scalable application icon into square PNG files, one per size, so the
// program, the desktop menus and the package all show the same picture drawn from one source.
//
// Usage: vesmarin_render_icon <icon.svg> <output folder> <base name> <size>...
// writes <output folder>/<base name>-<size>.png for each size.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "vesmarin_render_icon: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        return Fail(
            QStringLiteral("usage: vesmarin_render_icon <icon.svg> <output folder> <base name> <size>..."));
    }
    const QString svgPath = QString::fromLocal8Bit(argv[1]);
    const QDir outDir(QString::fromLocal8Bit(argv[2]));
    const QString baseName = QString::fromLocal8Bit(argv[3]);

    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid()) {
        return Fail(QStringLiteral("cannot read %1 as an SVG picture").arg(svgPath));
    }
    if (!QDir().mkpath(outDir.path())) {
        return Fail(QStringLiteral("cannot create the folder %1").arg(outDir.path()));
    }

    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLatin1(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 4096) {
            return Fail(QStringLiteral("%1 is not an icon size").arg(QString::fromLocal8Bit(argv[i])));
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString outPath = outDir.filePath(QStringLiteral("%1-%2.png").arg(baseName).arg(size));
        if (!image.convertToFormat(QImage::Format_ARGB32).save(outPath, "PNG")) {
            return Fail(QStringLiteral("cannot write %1").arg(outPath));
        }
    }
    return 0;
}
