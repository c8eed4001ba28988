#include "app/startup/AboutPanel.h"

#include "app/mainwindow/AppGlyph.h"
#include "app/mainwindow/MainWindowView.h"
#include "app/panels/HudStyle.h"
#include "app/panels/WindowFontScale.h"
#include "app/startup/AppLaunch.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QLabel* centredLabel(const QString& text, const WinFont& font, const QColor& colour, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter);
    label->setFont(font.font(label));
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

AboutPanel::AboutPanel(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    setPalette(MainWindowView::chromePalette());
    setAutoFillBackground(true);
    setMinimumWidth(minimumWidth);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 16);
    column->setSpacing(8);
    auto* glyph = new QLabel(this);
    glyph->setAlignment(Qt::AlignHCenter);
    const double ratio = devicePixelRatioF();
    QPixmap image = QPixmap::fromImage(AppGlyph::shared().render(56, HUD::violet(), ratio));
    image.setDevicePixelRatio(ratio);
    glyph->setPixmap(image);
    column->addWidget(glyph);
    column->addWidget(centredLabel(QStringLiteral("Tolvane"), winBig(), HUD::textPrimary(), this));
    column->addWidget(centredLabel(versionText(), winBody(), HUD::textSecondary(), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    column->addSpacing(8);
    column->addWidget(buttons);
}

QString AboutPanel::versionText() const
{
    return QStringLiteral("Version %1").arg(AppLaunch::version());
}

void AboutPanel::present()
{
    show();
    raise();
    activateWindow();
}

} // namespace tolvane
