#pragma once
// Shows the application's modal alerts. The application uses message boxes; tests hand in their
// own presenter and read what would have been shown.

#include <QString>

class QWidget;

namespace tolvane {

class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;
    // Runs a modal warning with one "OK" button; returns once the user has dismissed it.
    virtual void showWarning(const QString& messageText, const QString& informativeText) = 0;
};

class MessageBoxAlertPresenter final : public AlertPresenter {
public:
    void showWarning(const QString& messageText, const QString& informativeText) override;
};

} // namespace tolvane
