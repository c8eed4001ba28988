#include "app/startup/AlertPresenter.h"

#include <QMessageBox>

namespace tolvane {

void MessageBoxAlertPresenter::showWarning(const QString& messageText, const QString& informativeText)
{
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setText(messageText);
    box.setInformativeText(informativeText);
    box.setStandardButtons(QMessageBox::Ok);
    // There is no application to bring forward without a window of its own; raising the box
    // itself is the nearest thing.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

} // namespace tolvane
