#pragma once
// What the fuzz targets share: a broken promise ends the run the way a crash does, so libFuzzer
// keeps the input; the log lines that bad input rightly causes are kept off the terminal.

#include "core/support/Json.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace tolvane::fuzz {

inline void require(bool promise, const char* what)
{
    if (!promise) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

// Once per process; every target calls it first.
inline void silenceLogs()
{
    static const bool installed
        = (qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {}), true);
    (void)installed;
}

// The input as a reply body or file contents arrive: an owned, terminated byte array.
inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A file of the given name in a folder of this process, in memory where the system offers it:
// a target writes it on every run, and the settings library syncs it to disk on every write.
inline QString scratchFile(const QString& name)
{
    static const QString shared = QStringLiteral("/dev/shm");
    static QTemporaryDir dir(QDir(shared).exists() ? shared + QStringLiteral("/tolvane-fuzz-XXXXXX")
                                                   : QDir::tempPath() + QStringLiteral("/tolvane-fuzz-XXXXXX"));
    return dir.filePath(name);
}

// Writes bytes as the whole of the file at path.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(), "scratch file");
}

// Every strict decoder gives a value with no error text, or an error text and no value.
template <class T> void requireDecodeOrError(const json::Decoded<T>& decoded, const char* what)
{
    require(decoded.value.has_value() == decoded.error.isEmpty(), what);
}

// Equal, where two NaNs count as the same reading.
inline bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

inline bool same(const std::optional<double>& a, const std::optional<double>& b)
{
    return a.has_value() == b.has_value() && (!a || same(*a, *b));
}

} // namespace tolvane::fuzz
