#include "core/knowledge/ResourceFile.h"

#include "core/support/ResourceBundle.h"

#include <QFile>

namespace tolvane {

std::optional<QByteArray> readResource(const ResourceBundle& bundle, const QString& name, const QString& extension)
{
    const auto path = bundle.url(name, extension);
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace tolvane
