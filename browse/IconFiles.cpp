#include "browse/IconFiles.h"

#include "base/PathText.h"
#include "base/RunTimeError.h"

#include <cstring>

namespace vesmarin {

QString DisplayPath(const std::string& path) {
#ifdef Q_OS_WIN
    return QString::fromUtf8(path);
#else
    return FileNameFromBytes(QByteArray::fromStdString(path));
#endif
}

std::string FileSystemPath(const QString& path) {
#ifdef Q_OS_WIN
    return path.toStdString();
#else
    return FileNameToBytes(path).toStdString();
#endif
}

std::string IconSource::fileName() const {
    return std::filesystem::path(path).filename().string();
}

iconreader::IconFile OpenIconFile(const IconSource& icon) {
    iconreader::IconFile file(icon.path);
    if (!file.problem().empty())
        throw RunTimeError(errors::PathFileAccess,
                           QStringLiteral("Path/File access error: %1 (%2)")
                               .arg(icon.file(), QString::fromStdString(file.problem())));
    return file;
}

std::optional<IconOrigin> OriginOf(const iconreader::IconFile& file, const IconSource& icon) {
    const auto info = file.info(icon.index);
    if (!info)
        return std::nullopt;
    IconOrigin origin;
    origin.file = icon.file();
    origin.index = icon.index;
    const iconreader::FileKind kind = file.kind();
    if (kind != iconreader::FileKind::Ico) {
        origin.groupName = QString::fromUtf8(info->name);
        origin.groupId = info->name.empty() ? info->id : -1;
    }
    if (kind == iconreader::FileKind::Pe32 || kind == iconreader::FileKind::Pe32Plus)
        origin.language = info->language;
    return origin;
}

QImage ToImage(const iconreader::Picture& picture) {
    // The reader's pixels are 0xAARRGGBB with straight alpha: the layout of ARGB32.
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    if (image.isNull())
        throw RunTimeError(errors::OutOfMemory, QStringLiteral("Out of memory"));
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.pixels.data() + static_cast<std::size_t>(y) * picture.width,
                    static_cast<std::size_t>(picture.width) * sizeof(std::uint32_t));
    return image;
}

QByteArray IconPng(const iconreader::IconFile& file, int index, int size) {
    auto bytes = file.storedPng(index, size);
    if (!bytes)
        if (const auto picture = file.picture(index, size))
            bytes = iconwriter::encodePng(*picture);
    if (!bytes)
        return {};
    return QByteArray(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size()));
}

void SaveThroughDialog(Interaction& ui, const Language& language, QWidget* parent, SavedKind kind,
                       const QString& initialPath,
                       const std::function<iconwriter::WriteOutcome(const std::filesystem::path&)>& write) {
    const bool png = kind == SavedKind::Png;
    FileDialogRequest r;
    r.title = png ? language.pick(QStringLiteral("Save icon as PNG..."),
                                  QStringLiteral("Αποθήκευση εικονιδίου ως PNG..."))
                  : language.pick(QStringLiteral("Save icon as ICO..."),
                                  QStringLiteral("Αποθήκευση εικονιδίου ως ICO..."));
    r.initialPath = initialPath;
    r.filter =
        png ? language.pick(QStringLiteral("PNG images (*.png)"), QStringLiteral("Εικόνες PNG (*.png)"))
            : language.pick(QStringLiteral("Icon files (*.ico)"),
                            QStringLiteral("Αρχεία εικονιδίων (*.ico)"));
    r.defaultSuffix = png ? QStringLiteral("png") : QStringLiteral("ico");
    r.confirmOverwrite = true;
    r.pathMustExist = true;
    const std::optional<QString> chosen = ui.saveFileName(parent, r);
    if (!chosen)
        return; // cancelled: nothing changes
    RaiseUnlessWritten(write(FileSystemPath(*chosen)), *chosen);
}

void RaiseUnlessWritten(const iconwriter::WriteOutcome& outcome, const QString& path) {
    switch (outcome.kind) {
    case iconwriter::WriteOutcome::Written:
        return;
    case iconwriter::WriteOutcome::NotWritten:
        RaiseWriteError(outcome.errorNumber, path);
        return;
    case iconwriter::WriteOutcome::Damaged:
    case iconwriter::WriteOutcome::TooLarge:
        throw RunTimeError(
            errors::PathFileAccess,
            QStringLiteral("Path/File access error: %1 (%2)").arg(path, WhyNotWritten(outcome, false)));
    }
}

QString WhyNotWritten(const iconwriter::WriteOutcome& outcome, bool greek) {
    switch (outcome.kind) {
    case iconwriter::WriteOutcome::Written:
        break;
    case iconwriter::WriteOutcome::NotWritten:
        return QString::fromLocal8Bit(std::strerror(outcome.errorNumber));
    case iconwriter::WriteOutcome::Damaged:
        return greek ? QStringLiteral("το εικονίδιο είναι κατεστραμμένο")
                     : QStringLiteral("the icon is damaged");
    case iconwriter::WriteOutcome::TooLarge:
        return greek ? QStringLiteral("το εικονίδιο έχει περισσότερες από 256 εικόνες ή 64 MB")
                     : QStringLiteral("the icon holds more than 256 images or 64 MB");
    }
    return {};
}

} // namespace vesmarin
