#include "browse/core/IconExport.h"

#include "base/FileIO.h"
#include "base/PathText.h"
#include "base/RunTimeError.h"

#include <QBuffer>
#include <QDir>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vesmarin {

namespace {

constexpr int kErrPathFileAccess = 75;
constexpr int kErrPathNotFound = 76;

// Positions in the native form match those of the text as given: only separators are swapped.
qsizetype NameStart(const QString& path) {
    return QDir::toNativeSeparators(path).lastIndexOf(kPathSeparator) + 1;
}

} // namespace

QString CountMessage(std::int64_t n, bool greek) {
    const QString number = QString::number(n);
    if (greek)
        return (n == 1 ? QStringLiteral("Εντοπίσθηκε ") : QStringLiteral("Εντοπίσθηκαν ")) + number +
               (n == 1 ? QStringLiteral(" εικονίδιο.") : QStringLiteral(" εικονίδια."));
    return number + (n == 1 ? QStringLiteral(" icon located.") : QStringLiteral(" icons located."));
}

QString IconFileName(std::int32_t n) {
    return QStringLiteral("I%1.bmp").arg(n, 7, 10, QLatin1Char('0'));
}

std::optional<QString> WithBitmapExtension(const QString& chosen) {
    const QString name = chosen.mid(NameStart(chosen));
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return chosen + QStringLiteral(".bmp");
    const QString extension = name.mid(dot + 1);
    if (extension.isEmpty())
        return chosen + QStringLiteral("bmp"); // "name." stands for "name" typed with its dot
    if (extension.compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0)
        return chosen;
    return std::nullopt;
}

QString FolderOfChosenFile(const QString& fileName) {
    // The folder ends at the last separator, so a folder whose name contains the file's name is kept whole.
    return QDir::toNativeSeparators(fileName).left(NameStart(fileName));
}

QString ToolkitFilter(const QString& filter) {
    return filter.section(u'|', 0, 0);
}

void SaveBitmapFile(const QImage& picture, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "BMP"))
        throw RunTimeError(kErrPathFileAccess,
                           QStringLiteral("Path/File access error: %1 (no picture to save)").arg(path));
    // The name goes to the file system as the bytes it stands for, so a folder whose name is not UTF-8
    // takes icons as well; a full disk fails here with the old file kept.
    RaiseWriteError(ReplaceFileContent(path, {bytes}), path);
}

void RaiseWriteError(int error, const QString& path) {
    if (error == ENOENT || error == ENOTDIR)
        throw RunTimeError(kErrPathNotFound, QStringLiteral("Path not found: %1").arg(path));
    if (error != 0)
        throw RunTimeError(kErrPathFileAccess, QStringLiteral("Path/File access error: %1 (%2)")
                                                   .arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

QString GroupText(const IconOrigin& origin, bool greek) {
    if (!origin.groupName.isEmpty())
        return greek ? u'«' + origin.groupName + u'»' : u'"' + origin.groupName + u'"';
    if (origin.groupId >= 0)
        return QString::number(origin.groupId);
    return greek ? QStringLiteral("κανένας") : QStringLiteral("none");
}

QString IconToolTip(const IconOrigin& origin, std::vector<QSize> sizes, bool greek) {
    QString where =
        (greek ? QStringLiteral("Εικονίδιο ") : QStringLiteral("Icon ")) + QString::number(origin.index);
    if (!origin.groupName.isEmpty() || origin.groupId >= 0)
        where += (greek ? QStringLiteral(", πόρος ") : QStringLiteral(", group ")) + GroupText(origin, greek);
    if (origin.language >= 0)
        where += (greek ? QStringLiteral(", γλώσσα ") : QStringLiteral(", language ")) +
                 QString::number(origin.language);
    std::sort(sizes.begin(), sizes.end(), [](const QSize& a, const QSize& b) {
        return a.width() != b.width() ? a.width() < b.width() : a.height() < b.height();
    });
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    QStringList shown;
    for (const QSize& size : sizes)
        shown << QString::number(size.width()) + QStringLiteral(" × ") + QString::number(size.height());
    return origin.file + u'\n' + where + u'\n' +
           (greek ? QStringLiteral("Μεγέθη: ") : QStringLiteral("Sizes: ")) +
           shown.join(QStringLiteral(", "));
}

QString ImageLabel(const QSize& size, int bitCount, bool png) {
    return QStringLiteral("%1 × %2, %3 bpp, %4")
        .arg(QString::number(size.width()), QString::number(size.height()), QString::number(bitCount),
             png ? QStringLiteral("PNG") : QStringLiteral("bitmap"));
}

QString SaveAllMessage(int saved, int total, const QString& folder, const QStringList& failed, bool greek) {
    // Joined, not substituted into: a folder may hold "%1" in its name.
    const QString n = QString::number(saved);
    QString text;
    if (saved == total)
        text = greek ? (saved == 1 ? QStringLiteral("Αποθηκεύθηκε ") : QStringLiteral("Αποθηκεύθηκαν ")) + n +
                           (saved == 1 ? QStringLiteral(" εικονίδιο") : QStringLiteral(" εικονίδια")) +
                           QStringLiteral(" στον φάκελλο ")
                     : n + (saved == 1 ? QStringLiteral(" icon") : QStringLiteral(" icons")) +
                           QStringLiteral(" saved in ");
    else
        text = greek
                   ? QStringLiteral("Αποθηκεύθηκαν ") + n + QStringLiteral(" από ") + QString::number(total) +
                         QStringLiteral(" εικονίδια στον φάκελλο ")
                   : n + QStringLiteral(" of ") + QString::number(total) + QStringLiteral(" icons saved in ");
    text += folder + u'.';
    if (!failed.isEmpty())
        text +=
            (greek ? QStringLiteral("\r\nΔεν αποθηκεύθηκαν:\r\n") : QStringLiteral("\r\nNot saved:\r\n")) +
            failed.join(QStringLiteral("\r\n"));
    return text;
}

} // namespace vesmarin
