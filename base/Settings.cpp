#include "base/Settings.h"

#include "base/NumberText.h"
#include "base/PathText.h"
#include "base/ProfileFile.h"
#include "base/RunTimeError.h"

#include <limits>

namespace vesmarin::settings {

double ReadNumber(const QString& file, const QString& section, const QString& key, int defaultNumber) {
    return NumberPrefix(GetProfileString(section, key, QString::number(defaultNumber), NumericBuffer, file));
}

namespace {

// Measured as the system measures it: in bytes of the file name, whatever the text's length.
bool FitsPathLimit(const QString& path) {
    return FileNameToBytes(path).size() <= PathLimit;
}

} // namespace

PathSetting ReadPath(const QString& file, const QString& section, const QString& key) {
    QString value = GetProfileString(section, key, QString(), std::numeric_limits<int>::max(), file);
    if (const qsizetype nul = value.indexOf(QChar(u'\0')); nul >= 0)
        value.truncate(nul);
    if (!FitsPathLimit(value))
        return {QString(), true};
    return {value, false};
}

QString PathSettingProblem(const QString& path) {
    if (!FitsPathLimit(path))
        return QStringLiteral("The path is longer than %1 bytes").arg(PathLimit);
    if (path.contains(u'\n') || path.contains(u'\r'))
        return QStringLiteral("The path holds a line break");
    return {};
}

void WritePath(const QString& file, const QString& section, const QString& key, const QString& path) {
    if (const QString problem = PathSettingProblem(path); !problem.isEmpty())
        throw RunTimeError(errors::PathFileAccess, problem);
    if (!Write(file, section, key, path))
        throw RunTimeError(errors::PathFileAccess, QStringLiteral("Path/File access error: %1").arg(file));
}

bool Write(const QString& file, const QString& section, const QString& key, const QString& value) {
    return WriteProfileString(section, key, value, file);
}

bool Write(const QString& file, const QString& section, const QString& key, int value) {
    return Write(file, section, key, QString::number(value));
}

} // namespace vesmarin::settings
