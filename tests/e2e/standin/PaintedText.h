#pragma once
// The texts a widget and its children paint, in painting order: what a player reads in a window,
// whether it is drawn by labels or by a panel's own painter; and the sizes of the images they
// paint, to tell which icons are on show.

#include <QList>
#include <QSize>
#include <QStringList>

class QWidget;

namespace tolvane::test {

QStringList paintedText(QWidget& widget);
QList<QSize> paintedImages(QWidget& widget);

} // namespace tolvane::test
