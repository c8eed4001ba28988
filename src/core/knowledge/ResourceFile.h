#pragma once
// Reads a whole file of a resource bundle; absent when it is missing or unreadable.

#include "core/support/ResourceBundle.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tolvane {

std::optional<QByteArray> readResource(const ResourceBundle& bundle, const QString& name, const QString& extension);

} // namespace tolvane
