#pragma once
// Small text helpers shared by the readers of line-based replies and files.

#include <QChar>
#include <QStringView>

namespace tolvane {

// A tab or a space separator (Unicode Zs); line breaks are not blanks.
bool isBlank(QChar c);
// text without blanks at either end.
QStringView trimBlanks(QStringView text);

} // namespace tolvane
