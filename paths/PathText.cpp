#include "paths/PathText.h"

namespace vesmarin {

QString ApplyCaseRule(const QString& text, bool caseSensitive) {
    return caseSensitive ? text : text.toUpper();
}

QString AppendSeparator(const QString& path, QChar separator) {
    if (path.endsWith(separator))
        return path;
    return path + separator;
}

QString RemoveSeparator(const QString& path, QChar separator) {
    if (path.endsWith(separator))
        return path.left(path.size() - 1);
    return path;
}

QString GetLastSegment(const QString& path, QChar separator) {
    const qsizetype at = path.lastIndexOf(separator);
    if (at < 0)
        return {};
    return path.mid(at + 1);
}

} // namespace vesmarin
