#pragma once
// An address on the loopback where nothing listens and nothing else can: the port is bound by this
// process for its whole life and never listened on, so every connection to it is refused at once.
// Tests point clients that must reach nobody there, never at a fixed port another program may hold.

#include <QString>
#include <QUrl>

namespace tolvane::test {

// "<scheme>://127.0.0.1:<the port><path>".
QUrl refusingUrl(const QString& path = {}, const QString& scheme = QStringLiteral("http"));
// The same, as a base address without a trailing slash ("http://127.0.0.1:<the port>").
QString refusingBase();

} // namespace tolvane::test
