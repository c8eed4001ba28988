#pragma once
// The texts a widget and its children paint, in painting order: what a player reads in a window,
// whether it is drawn by labels or by a panel's own painter.

#include <QStringList>

class QWidget;

namespace tolvane::test {

QStringList paintedText(QWidget& widget);

} // namespace tolvane::test
