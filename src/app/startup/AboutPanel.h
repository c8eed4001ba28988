#pragma once
// The standard About panel of the main menu's "About Tolvane": the app's glyph, name and the
// build's version. One panel, brought forward again each time it is asked for; it blocks nothing.

#include <QDialog>
#include <QString>

namespace tolvane {

class AboutPanel : public QDialog {
public:
    explicit AboutPanel(QWidget* parent = nullptr);

    static inline const QString title = QStringLiteral("About Tolvane");
    // Wide enough that a window manager's title bar shows the whole title beside its buttons.
    static constexpr int minimumWidth = 320;

    QString versionText() const;
    // Shows it, or brings it forward when it already shows.
    void present();
};

} // namespace tolvane
