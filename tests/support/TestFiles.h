#pragma once

// Small file helpers shared by the tests that set up and inspect files on disk.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <string>

namespace vesmarin::test {

// Writes `bytes` to `file`, replacing it, and makes the folder it lives in first.
inline void WriteFile(const QString& file, const QByteArray& bytes = {}) {
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
    f.write(bytes);
}

// The file's bytes, or "<none>" when it cannot be read.
inline QByteArray ReadFile(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

// The value of `key` in the text of a settings file, or "<missing>" when no line sets it.
inline std::string IniValue(const std::string& ini, const std::string& key) {
    const auto at = ("\n" + ini).find("\n" + key + "=");
    if (at == std::string::npos)
        return "<missing>";
    const auto start = at + key.size() + 1;
    return ini.substr(start, ini.find('\n', start) - start);
}

} // namespace vesmarin::test
