#pragma once
// Finds a module's resource folder ("Tolvane_TolvaneCore.bundle") once per process, in three
// places in order: the installed data folder, the executable's own folder, and the resources
// folder fixed at build time. None found is a packaging fault and stops the program.

#include <QString>
#include <QStringList>

#include <optional>

namespace tolvane {

class ResourceBundle {
public:
    explicit ResourceBundle(QString path)
        : path_(std::move(path))
    {
    }

    const QString& path() const { return path_; }
    // The file "<name>.<extension>" inside the bundle, when it exists.
    std::optional<QString> url(const QString& name, const QString& extension) const;

    // The candidate folders for a bundle of this name, in search order; places that are unknown
    // (no application object yet) are left out.
    static QStringList candidates(const QString& bundleName);
    // The first candidate that is a folder, if any.
    static std::optional<ResourceBundle> locate(const QString& bundleName, const QStringList& candidates);
    // As locate, but a miss stops the program with "<name> not found — resource bundle missing
    // from app bundle".
    static ResourceBundle require(const QString& bundleName, const QStringList& candidates);

private:
    QString path_;
};

// The core module's bundle, searched once on first use (thread-safe).
const ResourceBundle& tolvaneCoreBundle();

} // namespace tolvane
