#include "about/core/AboutInfo.h"

#include <array>

namespace vesmarin {

namespace {

QString Padded(unsigned number) {
    return QStringLiteral("%1").arg(number, 4, 10, QLatin1Char('0'));
}

// Joins a folder and a file name with exactly one separator.
QString Joined(const QString& folder, const QString& name) {
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

} // namespace

ProgramVersion CurrentVersion() {
    return {VESMARIN_VERSION_MAJOR, VESMARIN_VERSION_MINOR, VESMARIN_VERSION_REVISION};
}

QString VersionLine(const ProgramVersion& version, bool greek) {
    const QString prefix = greek ? QStringLiteral("Έκδοση ") : QStringLiteral("Version ");
    return prefix + Padded(version.major) + QLatin1Char('.') + Padded(version.minor) + QLatin1Char('.') +
           Padded(version.revision);
}

AboutTexts AboutTextsFor(bool greek) {
    if (greek)
        return {
            QStringLiteral("Σχετικά"),
            QStringLiteral("Vesmarin"),
            QStringLiteral(
                "Η εφαρμογή αυτή εντοπίζει τα εικονίδια τα οποία περιέχονται στα 32-bit προγράμματα "
                "των Windows της Microsoft ή/και στα DLL αρχεία. Ο εντοπισμός μπορεί να προχωρήσει "
                "τόσο βαθειά στη δομή των καταλόγων όσο επιθυμεί ο χρήστης. Η εξαγωγή των "
                "οποιωνδήποτε εικονιδίων μπορεί να γίνει κατά βούλησιν."),
            QStringLiteral(
                "Η εφαρμογή παρέχεται «ως έχει», χωρίς καμία εγγύηση. Τη χρησιμοποιείτε με δική σας "
                "ευθύνη· ο δημιουργός της δεν ευθύνεται για οποιαδήποτε απώλεια ή ζημία προκύψει "
                "από τη χρήση της. Τα εικονίδια που εξάγετε ανήκουν στους δημιουργούς των "
                "προγραμμάτων που τα περιέχουν."),
            QStringLiteral("Πληροφορίες συστήματος..."),
        };
    return {
        QStringLiteral("About"),
        QStringLiteral("Vesmarin"),
        QStringLiteral(
            "This application browses through the icons stored in 32-bit Microsoft Windows programs "
            "and/or DLL files. Browsing can go as deep in the directory structure as the user wishes. "
            "Any icons can be extracted at will."),
        QStringLiteral(
            "This application is provided \"as is\", without warranty of any kind. You use it at your "
            "own risk; its author is not liable for any loss or damage arising from its use. The "
            "icons you extract belong to the makers of the programs that hold them."),
        QStringLiteral("System Info..."),
    };
}

std::optional<QString> SysInfoProgram(const SysInfoLookups& lookups) {
    if (lookups.firstValue) {
        if (std::optional<QString> path = lookups.firstValue())
            return path;
    }
    if (lookups.secondValue) {
        if (const std::optional<QString> folder = lookups.secondValue()) {
            const QString path = Joined(*folder, lookups.toolFileName);
            if (lookups.fileExists && lookups.fileExists(path))
                return path;
        }
    }
    return std::nullopt;
}

SysInfoLookups PosixSysInfoLookups(std::function<QString(const QString&)> findExecutable,
                                   std::function<bool(const QString&)> fileExists) {
    SysInfoLookups lookups;
    lookups.firstValue = [findExecutable]() -> std::optional<QString> {
        static constexpr std::array<const char*, 3> kTools{"hardinfo2", "hardinfo", "kinfocenter"};
        if (!findExecutable)
            return std::nullopt;
        for (const char* tool : kTools) {
            const QString path = findExecutable(QString::fromLatin1(tool));
            if (!path.isEmpty())
                return path;
        }
        return std::nullopt;
    };
    lookups.secondValue = []() -> std::optional<QString> { return QStringLiteral("/usr/bin"); };
    lookups.toolFileName = QStringLiteral("hardinfo");
    lookups.fileExists = std::move(fileExists);
    return lookups;
}

QString SysInfoUnavailableText(bool greek) {
    return greek ? QStringLiteral("Οι Πληροφορίες Συστήματος δεν είναι διαθέσιμες αυτή τη στιγμή.")
                 : QStringLiteral("System Information is unavailable at this time.");
}

QString SysInfoUnavailableTitle(bool greek) {
    return greek ? QStringLiteral("Πληροφορίες συστήματος") : QStringLiteral("System information");
}

} // namespace vesmarin
