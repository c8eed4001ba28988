#include "core/support/ResourceBundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace tolvane {

std::optional<QString> ResourceBundle::url(const QString& name, const QString& extension) const
{
    const QString file = QDir(path_).filePath(extension.isEmpty() ? name : name + QLatin1Char('.') + extension);
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    return file;
}

QStringList ResourceBundle::candidates(const QString& bundleName)
{
    QStringList out;
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        // Installed layout: <prefix>/bin/tolvane with the bundles in <prefix>/share/tolvane.
        out << QDir::cleanPath(QDir(exeDir).filePath(QStringLiteral(TOLVANE_INSTALLED_DATA_DIR "/") + bundleName));
        out << QDir(exeDir).filePath(bundleName);
    }
    out << QDir(QStringLiteral(TOLVANE_RESOURCES_DIR)).filePath(bundleName);
    return out;
}

std::optional<ResourceBundle> ResourceBundle::locate(const QString&, const QStringList& candidates)
{
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isDir())
            return ResourceBundle(candidate);
    }
    return std::nullopt;
}

ResourceBundle ResourceBundle::require(const QString& bundleName, const QStringList& candidates)
{
    if (auto bundle = locate(bundleName, candidates))
        return *bundle;
    const QByteArray message
        = (bundleName + QStringLiteral(" not found — resource bundle missing from app bundle")).toUtf8();
    std::fprintf(stderr, "%s\n", message.constData());
    std::fflush(stderr);
    std::abort();
}

const ResourceBundle& tolvaneCoreBundle()
{
    static const ResourceBundle bundle = ResourceBundle::require(QStringLiteral("Tolvane_TolvaneCore.bundle"),
        ResourceBundle::candidates(QStringLiteral("Tolvane_TolvaneCore.bundle")));
    return bundle;
}

} // namespace tolvane
