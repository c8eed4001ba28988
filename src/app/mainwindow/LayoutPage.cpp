#include "app/mainwindow/LayoutPage.h"

#include "app/mainwindow/AppNotifications.h"
#include "app/mainwindow/SettingsControls.h"
#include "app/mainwindow/SettingsTabParts.h"
#include "app/panels/HudStyle.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tolvane {

namespace {

// The dark appearance's system red.
const QColor systemRed = QColor::fromRgbF(1.0f, 0.271f, 0.227f);
// Between a standard button's label and each side of its frame.
constexpr int buttonLabelInset = 12;

} // namespace

LayoutTabView::LayoutTabView(SettingsModel& model, std::function<void()> onReset, QWidget* parent)
    : SettingsPage(parent)
    , model_(model)
    , onReset_(std::move(onReset))
{
    const double s = model_.fontScale();
    QVBoxLayout* page = makePageColumn(this, spacing);
    page->addWidget(new SettingsHeader(QStringLiteral("Panel Positions"), HUD::gold(), s));
    page->addWidget(makeCaption(QStringLiteral("Drag each panel to the exact spot you want. Positions are saved per "
                                               "game mode (SR / ARAM / Arena)."),
        s));
    repositionButton_ = new ResetPillButton(QStringLiteral("Reposition Panels…"), s, this);
    connect(repositionButton_, &QAbstractButton::clicked, this,
        [] { AppNotifications::defaultCenter().postOpenRepositionMode(); });
    page->addWidget(repositionButton_);
    linkToggle_ = new GoldToggle(QStringLiteral("Link Popular build + Matchup (⚭)"),
        {[this] { return model_.twoBuildLinked(); }, [this](bool value) { model_.setTwoBuildLinked(value); }}, s, this);
    page->addWidget(linkToggle_);
    page->addWidget(new StrokeDivider(this));

    QVBoxLayout* block = nullptr;
    layoutBlock_ = makeBlock(10, this, &block);
    block->addWidget(new SettingsHeader(QStringLiteral("Layout"), HUD::gold(), s));
    sliders_.push_back(new LayoutSlider(QStringLiteral("Inset (toward scoreboard)"),
        {[this] { return model_.inset(); }, [this](double value) { model_.setInset(value); }}, 0, 0.4,
        QStringLiteral("%.2f"), s));
    sliders_.push_back(new LayoutSlider(QStringLiteral("Raise (up / down)"),
        {[this] { return model_.raise(); }, [this](double value) { model_.setRaise(value); }}, -0.2, 0.4,
        QStringLiteral("%.2f"), s));
    sliders_.push_back(new LayoutSlider(QStringLiteral("Gap"),
        {[this] { return model_.gap(); }, [this](double value) { model_.setGap(value); }}, 0, 40,
        QStringLiteral("%.0f pt"), s));
    for (LayoutSlider* slider : sliders_)
        block->addWidget(slider);
    resetLayoutButton_ = new ResetPillButton(QStringLiteral("Reset to 2-build-panel-layout"), s, layoutBlock_);
    connect(resetLayoutButton_, &QAbstractButton::clicked, this, [this] {
        if (onReset_)
            onReset_();
    });
    block->addWidget(resetLayoutButton_, 0, Qt::AlignLeft);
    page->addWidget(layoutBlock_);
    page->addWidget(new StrokeDivider(this));

    resetPositionsButton_ = new QPushButton(QStringLiteral("Reset All Panel Positions"), this);
    QPalette palette = resetPositionsButton_->palette();
    palette.setColor(QPalette::ButtonText, systemRed);
    palette.setColor(QPalette::Button, HUD::iconBg());
    resetPositionsButton_->setPalette(palette);
    resetPositionsButton_->setFont(winBody(s).font(resetPositionsButton_));
    // The style's own margins leave the label a few pixels from the frame: give it a pill's room.
    const int labelWidth = QFontMetrics(resetPositionsButton_->font()).horizontalAdvance(resetPositionsButton_->text());
    const QSize hint = resetPositionsButton_->sizeHint();
    resetPositionsButton_->setFixedSize(std::max(hint.width(), labelWidth + 2 * buttonLabelInset), hint.height());
    connect(resetPositionsButton_, &QPushButton::clicked, this,
        [] { AppNotifications::defaultCenter().postResetAllPanelPositions(); });
    page->addWidget(resetPositionsButton_);
    refresh();
}

void LayoutTabView::refresh()
{
    linkToggle_->sync();
    for (LayoutSlider* slider : sliders_)
        slider->sync();
    setBlockEnabled(layoutBlock_, model_.showPopular() || model_.showMatchup());
}

} // namespace tolvane
