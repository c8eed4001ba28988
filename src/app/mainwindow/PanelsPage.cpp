#include "app/mainwindow/PanelsPage.h"

#include "app/mainwindow/SettingsControls.h"
#include "app/mainwindow/SettingsTabParts.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace tolvane {

namespace {

QSize ceilSize(double width, double height)
{
    return QSize(int(std::ceil(width)), int(std::ceil(height)));
}

// A filled shape of fixed size: the panel rows' accent bar and the permission dot.
class Swatch : public QWidget {
public:
    Swatch(QSizeF size, double radius, QColor colour, QWidget* parent)
        : QWidget(parent)
        , radius_(radius)
        , colour_(std::move(colour))
    {
        setFixedSize(ceilSize(size.width(), size.height()));
    }
    QColor colour() const { return colour_; }
    void setColour(const QColor& colour)
    {
        colour_ = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour_);
        painter.drawRoundedRect(QRectF(rect()), radius_, radius_);
    }

private:
    double radius_;
    QColor colour_;
};

QWidget* makeRow(QWidget* parent, int spacing, QHBoxLayout** layout)
{
    auto* row = new QWidget(parent);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(spacing);
    *layout = line;
    return row;
}

const HudTextStyle pillStyle(double s)
{
    return {winSmall(s), HUD::gold(), 0.8};
}

} // namespace

CustomPill::CustomPill(double s, QWidget* parent)
    : QWidget(parent)
    , s_(s)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CustomPill::sizeHint() const
{
    const HudTextStyle style = pillStyle(s_);
    return ceilSize(style.width(text) + 2 * 8, style.lineHeight() + 2 * 3);
}

void CustomPill::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(HUD::gold(), 0.14));
    painter.drawRoundedRect(shape, shape.height() / 2, shape.height() / 2);
    const QRectF border = shape.adjusted(0.25, 0.25, -0.25, -0.25);
    painter.setPen(QPen(withAlpha(HUD::gold(), 0.35), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(border, border.height() / 2, border.height() / 2);
    drawHudText(painter, QPointF(8, 3), text, pillStyle(s_));
}

KeyChip::KeyChip(double s, QWidget* parent)
    : QAbstractButton(parent)
    , s_(s)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void KeyChip::display(const QString& label, bool capturing)
{
    capturing_ = capturing;
    setText(capturing ? capturingText : label);
    updateGeometry();
    update();
}

QSize KeyChip::sizeHint() const
{
    const HudTextStyle style {winStrong(s_), HUD::textPrimary()};
    return ceilSize(std::max(minimumSize.width(), style.width(text()) + 2 * labelInset),
        std::max(minimumSize.height(), style.lineHeight()));
}

void KeyChip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(HUD::iconBg());
    painter.drawRoundedRect(shape, cornerRadius, cornerRadius);
    const QRectF border = shape.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(capturing_ ? HUD::gold() : HUD::stroke(), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(border, cornerRadius - 0.5, cornerRadius - 0.5);
    const HudTextStyle style {winStrong(s_), HUD::textPrimary()};
    drawHudLine(painter, QRectF(0, (height() - style.lineHeight()) / 2, width(), style.lineHeight()), text(), style,
        Qt::AlignHCenter);
}

PanelsTabView::PanelsTabView(SettingsModel& model, SettingsHostState state, SettingsActions actions, QWidget* parent)
    : SettingsPage(parent)
    , model_(model)
    , state_(std::move(state))
    , actions_(std::move(actions))
    , s_(model.fontScale())
{
    QVBoxLayout* page = makePageColumn(this, spacing);

    // Modes.
    QVBoxLayout* modes = nullptr;
    page->addWidget(makeBlock(8, this, &modes));
    QHBoxLayout* modeHeader = nullptr;
    QWidget* headerRow = makeRow(this, 8, &modeHeader);
    modeHeader->addWidget(new SettingsHeader(QStringLiteral("Modes"), HUD::gold(), s_, headerRow));
    customPill_ = new CustomPill(s_, headerRow);
    modeHeader->addWidget(customPill_);
    modeHeader->addStretch(1);
    modes->addWidget(headerRow);
    modes->addWidget(makeCaption(QStringLiteral("Pick a preset to bulk-set the panels below."), s_));
    modePicker_ = makeSkillModePicker(
        [this] { return model_.matchingMode(); }, [this](SkillModePreset preset) { model_.applyMode(preset); }, s_);
    modes->addWidget(modePicker_);

    // Visibility.
    QVBoxLayout* visibility = nullptr;
    page->addWidget(makeBlock(8, this, &visibility));
    visibility->addWidget(new SettingsHeader(QStringLiteral("Visibility"), HUD::gold(), s_));
    visibility->addWidget(makeCaption(QStringLiteral("By default the overlay shows only while you hold Tab."), s_));
    QWidget* visibilityBlock = visibility->parentWidget();
    visibility->addWidget(
        addToggle(visibilityBlock, QStringLiteral("Tab (hold)"), &SettingsModel::tab, &SettingsModel::setTab));
    visibility->addWidget(addToggle(visibilityBlock, QStringLiteral("Show build panels while shopping"),
        &SettingsModel::shop, &SettingsModel::setShop));
    visibility->addWidget(
        addToggle(visibilityBlock, QStringLiteral("Always"), &SettingsModel::always, &SettingsModel::setAlways));
    shopSection_ = makeShopSection(visibilityBlock);
    visibility->addWidget(shopSection_);

    // Panels.
    QVBoxLayout* panels = nullptr;
    QWidget* panelsBlock = makeBlock(8, this, &panels);
    page->addWidget(panelsBlock);
    panels->addWidget(new SettingsHeader(QStringLiteral("Panels"), HUD::gold(), s_));
    panels->addWidget(makePanelRow(panelsBlock, QStringLiteral("Popular build"), HUD::violet(),
        &SettingsModel::showPopular, &SettingsModel::setShowPopular));
    panels->addWidget(makePanelRow(panelsBlock, QStringLiteral("Matchup / Counter"), HUD::teal(),
        &SettingsModel::showMatchup, &SettingsModel::setShowMatchup));
    panels->addWidget(makePanelRow(
        panelsBlock, QStringLiteral("Gold"), HUD::gold(), &SettingsModel::showGold, &SettingsModel::setShowGold));
    panels->addWidget(makePanelRow(panelsBlock, QStringLiteral("Cooldowns"), HUD::neutral(),
        &SettingsModel::showCooldowns, &SettingsModel::setShowCooldowns));
    panels->addWidget(makePanelRow(panelsBlock, QStringLiteral("Farm benchmark"), HUD::ahead(),
        &SettingsModel::showFarm, &SettingsModel::setShowFarm));
    panels->addWidget(makePanelRow(panelsBlock, QStringLiteral("Combos"), HUD::violet(), &SettingsModel::showCombos,
        &SettingsModel::setShowCombos));

    QVBoxLayout* extras = nullptr;
    cooldownExtras_ = makeBlock(10, panelsBlock, &extras, 13);
    QVBoxLayout* format = nullptr;
    extras->addWidget(makeBlock(6, cooldownExtras_, &format));
    QLabel* formatTitle = makeCaption(QStringLiteral("Cooldown format"), s_);
    QFont titleFont = formatTitle->font();
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    formatTitle->setFont(titleFont);
    format->addWidget(formatTitle);
    formatPicker_ = makeCDFormatPicker(
        {[this] { return model_.cooldownFormat(); }, [this](CDTimeFormat value) { model_.setCooldownFormat(value); }},
        s_);
    format->addWidget(formatPicker_);
    opacitySlider_ = new LayoutSlider(QStringLiteral("Background opacity"),
        {[this] { return model_.cdOpacity(); }, [this](double value) { model_.setCdOpacity(value); }}, 0.15, 1.0,
        QStringLiteral("%.2f"), s_);
    extras->addWidget(opacitySlider_);
    panels->addWidget(cooldownExtras_);

    page->addWidget(makeCaption(QStringLiteral("Changes apply live and are saved automatically."), s_));
    refresh();
}

GoldToggle* PanelsTabView::addToggle(
    QWidget* parent, const QString& title, bool (SettingsModel::*get)() const, void (SettingsModel::*set)(bool))
{
    // The model is captured rather than this: GCC's vptr check misreads a captured this in a
    // lambda that calls through a member pointer.
    SettingsModel& model = model_;
    auto* toggle = new GoldToggle(title,
        {[&model, get] { return (model.*get)(); }, [&model, set](bool value) { (model.*set)(value); }}, s_, parent);
    toggles_.insert(title, toggle);
    return toggle;
}

QWidget* PanelsTabView::makePanelRow(QWidget* parent, const QString& title, const QColor& accent,
    bool (SettingsModel::*get)() const, void (SettingsModel::*set)(bool))
{
    QHBoxLayout* line = nullptr;
    QWidget* row = makeRow(parent, 10, &line);
    line->addWidget(new Swatch(QSizeF(3, 18), 3, accent, row));
    line->addWidget(addToggle(row, title, get, set));
    return row;
}

QWidget* PanelsTabView::makeKeyRow(QWidget* parent, const QString& title, KeyChip** chip, std::function<void()> action)
{
    QHBoxLayout* line = nullptr;
    QWidget* row = makeRow(parent, 8, &line);
    auto* label = new QLabel(title, row);
    label->setFont(winBody(s_).font(label));
    // A long title wraps beside the chip rather than pushing it out of the column.
    label->setWordWrap(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    label->setSizePolicy(policy);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, HUD::textPrimary());
    label->setPalette(palette);
    line->addWidget(label);
    line->addStretch(1);
    *chip = new KeyChip(s_, row);
    // The chip reads the action at tap time, so a host that swaps its actions is followed.
    connect(*chip, &QAbstractButton::clicked, this, [action = std::move(action)] {
        if (action)
            action();
    });
    line->addWidget(*chip);
    return row;
}

QWidget* PanelsTabView::makeShopSection(QWidget* parent)
{
    QVBoxLayout* column = nullptr;
    QWidget* section = makeBlock(10, parent, &column, 10);
    column->addWidget(makeCaption(QStringLiteral("Press your shop key to pop the build panels up while you shop; "
                                                 "press Esc (or your shop key again) to hide them."),
        s_));
    column->addWidget(makeKeyRow(section, QStringLiteral("Shop key"), &shopChip_, [this] {
        if (actions_.onCaptureShop)
            actions_.onCaptureShop();
    }));

    QHBoxLayout* permission = nullptr;
    QWidget* permissionRow = makeRow(section, 8, &permission);
    permissionDot_ = new Swatch(QSizeF(7, 7), 3.5, HUD::neutral(), permissionRow);
    permission->addWidget(permissionDot_);
    permissionText_ = makeCaption(QString(), s_, permissionRow);
    permission->addWidget(permissionText_);
    permission->addStretch(1);
    permissionButton_ = new ResetPillButton(QString(), s_, permissionRow);
    connect(permissionButton_, &QAbstractButton::clicked, this, [this] { runPermissionAction(); });
    permission->addWidget(permissionButton_);
    column->addWidget(permissionRow);

    column->addWidget(makeCaption(QStringLiteral("Your shop key is a letter (e.g. P). macOS only lets the app read "
                                                 "letter keys with Input Monitoring. After granting, restart to "
                                                 "finish enabling."),
        s_));
    column->addWidget(new StrokeDivider(section));
    column->addWidget(makeKeyRow(section, QStringLiteral("Fallback key (no permission)"), &fallbackChip_, [this] {
        if (actions_.onCaptureFallback)
            actions_.onCaptureFallback();
    }));
    column->addWidget(makeCaption(QStringLiteral("Works without any permission. Defaults to ⌘ Cmd. Rebindable to "
                                                 "any modifier / navigation key."),
        s_));
    return section;
}

void PanelsTabView::runPermissionAction() const
{
    // The button's meaning follows the permission as last handed in, not as first drawn.
    const std::function<void()>& action
        = state_.inputMonitoringGranted ? actions_.onRestart : actions_.onGrantPermission;
    if (action)
        action();
}

QColor PanelsTabView::permissionDotColour() const
{
    return static_cast<Swatch*>(permissionDot_)->colour();
}

void PanelsTabView::setHostState(SettingsHostState state)
{
    state_ = std::move(state);
    refresh();
}

void PanelsTabView::refresh()
{
    customPill_->setVisible(!model_.matchingMode().has_value());
    modePicker_->sync();
    for (GoldToggle* toggle : std::as_const(toggles_))
        toggle->sync();

    shopSection_->setVisible(model_.shop());
    shopChip_->display(state_.shopKeyLabel, state_.captureTarget == KeyCaptureTarget::shop);
    fallbackChip_->display(state_.fallbackKeyLabel, state_.captureTarget == KeyCaptureTarget::fallback);
    const bool granted = state_.inputMonitoringGranted;
    static_cast<Swatch*>(permissionDot_)->setColour(granted ? HUD::teal() : HUD::neutral());
    permissionText_->setText(
        granted ? QStringLiteral("Input Monitoring: granted") : QStringLiteral("Input Monitoring: not granted"));
    permissionButton_->setText(granted ? QStringLiteral("Restart") : QStringLiteral("Grant Permission"));
    permissionButton_->updateGeometry();

    setBlockEnabled(cooldownExtras_, model_.showCooldowns());
    formatPicker_->sync();
    opacitySlider_->sync();
}

} // namespace tolvane
