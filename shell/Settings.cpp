#include "shell/Settings.h"

#include "shell/NumberText.h"
#include "shell/ProfileFile.h"

namespace vesmarin::settings {

double ReadNumber(const QString& file, const QString& section, const QString& key, int defaultNumber) {
    return NumberPrefix(GetProfileString(section, key, QString::number(defaultNumber), NumericBuffer, file));
}

QString ReadText(const QString& file, const QString& section, const QString& key) {
    const QString value = GetProfileString(section, key, QString(), TextBuffer, file);
    const qsizetype nul = value.indexOf(QChar(u'\0'));
    return nul < 0 ? value : value.left(nul);
}

void Write(const QString& file, const QString& section, const QString& key, const QString& value) {
    (void)WriteProfileString(section, key, value, file);
}

void Write(const QString& file, const QString& section, const QString& key, int value) {
    Write(file, section, key, QString::number(value));
}

} // namespace vesmarin::settings
