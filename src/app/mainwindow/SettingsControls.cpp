#include "app/mainwindow/SettingsControls.h"

#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSlider>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

QColor mix(const QColor& from, const QColor& to, double t)
{
    auto lerp = [t](double a, double b) { return a + (b - a) * t; };
    return QColor::fromRgbF(float(lerp(from.redF(), to.redF())), float(lerp(from.greenF(), to.greenF())),
        float(lerp(from.blueF(), to.blueF())), float(lerp(from.alphaF(), to.alphaF())));
}

// A capsule or rounded rectangle with its border drawn inside the edge.
void drawFramedShape(
    QPainter& painter, const QRectF& rect, double radius, const QColor& fill, const QColor& border, double borderWidth)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, radius, radius);
    if (borderWidth <= 0)
        return;
    const double half = borderWidth / 2;
    const QRectF inner = rect.adjusted(half, half, -half, -half);
    painter.setPen(QPen(border, borderWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(inner, std::max(radius - half, 0.0), std::max(radius - half, 0.0));
}

QSize ceilSize(double width, double height)
{
    return QSize(int(std::ceil(width)), int(std::ceil(height)));
}

} // namespace

EasedProgress::EasedProgress(QWidget* owner, int durationMs)
    : animation_(new QVariantAnimation(owner))
{
    animation_->setDuration(durationMs);
    animation_->setEasingCurve(QEasingCurve::OutQuad);
    QObject::connect(animation_, &QVariantAnimation::valueChanged, owner, [this, owner](const QVariant& value) {
        value_ = value.toDouble();
        owner->update();
    });
}

void EasedProgress::animateTo(bool on)
{
    animation_->stop();
    animation_->setStartValue(value_);
    animation_->setEndValue(on ? 1.0 : 0.0);
    animation_->start();
}

void EasedProgress::jumpTo(bool on)
{
    animation_->stop();
    value_ = on ? 1.0 : 0.0;
}

GoldToggle::GoldToggle(QString caption, Binding<bool> value, double s, QWidget* parent)
    : QWidget(parent)
    , caption_(std::move(caption))
    , value_(std::move(value))
    , s_(s)
    , shown_(value_.get())
    , progress_(this, 150)
{
    progress_.jumpTo(shown_);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void GoldToggle::sync()
{
    const bool now = value_.get();
    if (now != shown_) {
        shown_ = now;
        progress_.animateTo(now);
    }
    update();
}

QSize GoldToggle::sizeHint() const
{
    const HudTextStyle label {winBody(s_), HUD::textPrimary()};
    const int width = int(std::ceil(label.width(caption_) + 12 + trackSize.width()));
    return QSize(width, heightForWidth(width));
}

QSize GoldToggle::minimumSizeHint() const
{
    // The caption wraps; the switch and a few letters of it always fit.
    return ceilSize(12 + trackSize.width() + 40 * s_, rowMinimumHeight);
}

double GoldToggle::labelWidth(double width) const
{
    return std::max(width - 12 - trackSize.width(), 1.0);
}

int GoldToggle::heightForWidth(int width) const
{
    const HudTextStyle label {winBody(s_), HUD::textPrimary()};
    return int(std::ceil(
        std::max({rowMinimumHeight, wrappedTextHeight(caption_, label, labelWidth(width)), trackSize.height()})));
}

QRectF GoldToggle::trackRect() const
{
    return QRectF(QPointF(width() - trackSize.width(), (height() - trackSize.height()) / 2), trackSize);
}

void GoldToggle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const HudTextStyle label {winBody(s_), HUD::textPrimary()};
    const double labelHeight = wrappedTextHeight(caption_, label, labelWidth(width()));
    drawWrappedText(
        painter, QRectF(0, (height() - labelHeight) / 2, labelWidth(width()), labelHeight), caption_, label);

    const double t = progress_.value();
    const QRectF track = trackRect();
    drawFramedShape(
        painter, track, track.height() / 2, mix(HUD::iconBg(), withAlpha(HUD::gold(), 0.85), t), HUD::stroke(), 1.0);
    const double margin = (trackSize.height() - knobDiameter) / 2;
    const double travel = trackSize.width() - knobDiameter - 2 * margin;
    const QRectF knob(track.left() + margin + travel * t, track.top() + margin, knobDiameter, knobDiameter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(mix(HUD::textSecondary(), HUD::panelTop(), t));
    painter.drawEllipse(knob);
}

void GoldToggle::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    value_.set(!value_.get());
    sync();
}

ResetPillButton::ResetPillButton(const QString& text, double s, QWidget* parent)
    : QAbstractButton(parent)
    , s_(s)
    , pressed_(this, 120)
{
    setText(text);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::pressed, this, [this] { pressed_.animateTo(true); });
    connect(this, &QAbstractButton::released, this, [this] { pressed_.animateTo(false); });
}

QSizeF ResetPillButton::pillSize() const
{
    const HudTextStyle label {winSmall(s_), HUD::gold()};
    return QSizeF(label.width(text()) + 2 * 12, label.lineHeight() + 2 * 7);
}

double ResetPillButton::pressScale() const
{
    return 1.0 - (1.0 - pressedScale) * pressed_.value();
}

QSize ResetPillButton::sizeHint() const
{
    const QSizeF pill = pillSize();
    return ceilSize(pill.width(), std::max(minimumHeight, pill.height()));
}

void ResetPillButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF pill = pillSize();
    painter.translate(width() / 2.0, height() / 2.0);
    painter.scale(pressScale(), pressScale());
    const QRectF shape(QPointF(-pill.width() / 2, -pill.height() / 2), pill);
    drawFramedShape(painter, shape, pill.height() / 2, withAlpha(HUD::gold(), 0.14), withAlpha(HUD::gold(), 0.35), 0.5);
    const HudTextStyle label {winSmall(s_), HUD::gold()};
    drawHudText(painter, shape.topLeft() + QPointF(12, 7), text(), label);
}

SegmentedPicker::SegmentedPicker(std::vector<Segment> segments, std::function<std::optional<int>()> selected,
    std::function<void(int)> onTap, double minimumHeight, QWidget* parent)
    : QWidget(parent)
    , segments_(std::move(segments))
    , selected_(std::move(selected))
    , onTap_(std::move(onTap))
    , minimumHeight_(minimumHeight)
    , shown_(selected_())
    , progress_(this, 150)
{
    progress_.jumpTo(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SegmentedPicker::sync()
{
    const std::optional<int> now = selected_();
    if (now != shown_) {
        previous_ = shown_;
        shown_ = now;
        progress_.jumpTo(false);
        progress_.animateTo(true);
    }
    update();
}

QRectF SegmentedPicker::segmentRect(int index) const
{
    const double share = width() / double(std::max<size_t>(segments_.size(), 1));
    return QRectF(share * index, 0, share, height());
}

QSize SegmentedPicker::sizeHint() const
{
    double widest = 0;
    double tallest = minimumHeight_;
    for (const Segment& segment : segments_) {
        const HudTextStyle style {segment.font, HUD::textSecondary()};
        widest = std::max(widest, style.width(segment.text) + 16);
        tallest = std::max(tallest, style.lineHeight());
    }
    return ceilSize(widest * double(segments_.size()), tallest);
}

QSize SegmentedPicker::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void SegmentedPicker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole = QRectF(rect());
    QPainterPath clip;
    clip.addRoundedRect(whole, cornerRadius, cornerRadius);
    painter.setClipPath(clip);
    painter.fillRect(whole, HUD::iconBg());

    const double t = progress_.value();
    for (int i = 0; i < int(segments_.size()); ++i) {
        // The newly selected segment fades in while the one before fades out.
        double selectedness = 0;
        if (shown_ == i)
            selectedness = t;
        else if (previous_ == i)
            selectedness = 1 - t;
        const QRectF box = segmentRect(i);
        if (selectedness > 0)
            painter.fillRect(box, withAlpha(HUD::gold(), 0.85 * selectedness));
        const HudTextStyle style {segments_[size_t(i)].font, mix(HUD::textSecondary(), HUD::panelTop(), selectedness)};
        drawHudLine(painter,
            QRectF(box.left(), box.center().y() - style.lineHeight() / 2, box.width(), style.lineHeight()),
            segments_[size_t(i)].text, style, Qt::AlignHCenter);
    }
    painter.setClipping(false);
    drawFramedShape(painter, whole, cornerRadius, Qt::transparent, HUD::stroke(), 1.0);
}

void SegmentedPicker::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || segments_.empty() || !rect().contains(event->position().toPoint()))
        return;
    const int index
        = std::clamp(int(event->position().x() / (width() / double(segments_.size()))), 0, int(segments_.size()) - 1);
    onTap_(index);
    sync();
}

SegmentedPicker* makeCDFormatPicker(Binding<CDTimeFormat> format, double s, QWidget* parent)
{
    std::vector<SegmentedPicker::Segment> segments;
    for (CDTimeFormat::Value value : CDTimeFormat::allCases)
        segments.push_back({CDTimeFormat(value).string(85), winStrong(s)});
    auto selected = [get = format.get]() -> std::optional<int> {
        const auto& all = CDTimeFormat::allCases;
        const auto it = std::find(all.begin(), all.end(), CDTimeFormat::Value(get()));
        return it == all.end() ? std::nullopt : std::optional<int>(int(it - all.begin()));
    };
    auto tap = [set = format.set](int index) { set(CDTimeFormat(CDTimeFormat::allCases[size_t(index)])); };
    return new SegmentedPicker(std::move(segments), std::move(selected), std::move(tap), 32, parent);
}

SegmentedPicker* makeTextSizePicker(Binding<qint64> index, double, QWidget* parent)
{
    std::vector<SegmentedPicker::Segment> segments;
    for (int i = 0; i < 4; ++i)
        segments.push_back({QStringLiteral("A"), WinFont {1.0, 11 + 2.5 * i, QFont::DemiBold, FontDesign::rounded}});
    auto selected = [get = index.get]() -> std::optional<int> {
        const qint64 value = get();
        return value >= 0 && value <= 3 ? std::optional<int>(int(value)) : std::nullopt;
    };
    auto tap = [set = index.set](int segment) { set(segment); };
    return new SegmentedPicker(std::move(segments), std::move(selected), std::move(tap), 34, parent);
}

SegmentedPicker* makeSkillModePicker(std::function<std::optional<SkillModePreset>()> selected,
    std::function<void(SkillModePreset)> onPick, double s, QWidget* parent)
{
    const auto& all = SkillModePresets::allCases;
    std::vector<SegmentedPicker::Segment> segments {{QStringLiteral("Beginner"), winStrong(s)},
        {QStringLiteral("Pro"), winStrong(s)}, {QStringLiteral("Smurf"), winStrong(s)}};
    auto shown = [selected = std::move(selected), all]() -> std::optional<int> {
        const auto preset = selected();
        if (!preset)
            return std::nullopt;
        return int(std::find(all.begin(), all.end(), *preset) - all.begin());
    };
    auto tap = [onPick = std::move(onPick), all](int index) { onPick(all[size_t(index)]); };
    return new SegmentedPicker(std::move(segments), std::move(shown), std::move(tap), 32, parent);
}

ComingSoonRow::ComingSoonRow(QString name, std::optional<QString> detail, double s, QWidget* parent)
    : QWidget(parent)
    , name_(std::move(name))
    , detail_(std::move(detail))
    , s_(s)
{
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

ComingSoonRow::Layout ComingSoonRow::layoutFor(double width) const
{
    // The badge keeps its one line at the far end; the name and the detail wrap in what is left.
    // Where a word of the name is wider than what the badge leaves, the badge goes under the name
    // rather than break the word.
    const HudTextStyle nameStyle {winBody(s_), HUD::textSecondary()};
    const HudTextStyle badge {winSmall(s_), HUD::textSecondary(), 0.8};
    Layout l;
    const QSizeF badgeSize(badge.width(badgeText) + 2 * 8, badge.lineHeight() + 2 * 3);
    const double fullWidth = std::max(width - detailInset, 1.0);
    double nameWidth = std::max(width - detailInset - 12 - badgeSize.width(), 1.0);
    const bool badgeUnder = wrapBreaksAWord(name_, nameStyle, nameWidth);
    if (badgeUnder)
        nameWidth = fullWidth;
    const double nameHeight = wrappedTextHeight(name_, nameStyle, nameWidth);
    const double line = std::max({18.0, nameHeight, badgeUnder ? 0.0 : badgeSize.height()});
    l.bar = QRectF(0, (line - 18) / 2, 3, 18);
    l.name = QRectF(detailInset, (line - nameHeight) / 2, nameWidth, nameHeight);
    if (badgeUnder)
        l.badge = QRectF(QPointF(detailInset, line + 2), badgeSize);
    else
        l.badge = QRectF(QPointF(width - badgeSize.width(), (line - badgeSize.height()) / 2), badgeSize);
    l.height = std::max(line, l.badge.bottom());
    if (detail_) {
        const HudTextStyle detail {winSmall(s_), HUD::textSecondary()};
        l.detail = QRectF(detailInset, l.height + 2, fullWidth, wrappedTextHeight(*detail_, detail, fullWidth));
        l.height = l.detail.bottom();
    }
    return l;
}

int ComingSoonRow::heightForWidth(int width) const
{
    return int(std::ceil(layoutFor(width).height));
}

QSize ComingSoonRow::sizeHint() const
{
    const HudTextStyle nameStyle {winBody(s_), HUD::textSecondary()};
    const HudTextStyle badge {winSmall(s_), HUD::textSecondary(), 0.8};
    double width = detailInset + nameStyle.width(name_) + 12 + badge.width(badgeText) + 2 * 8;
    if (detail_)
        width = std::max(width, detailInset + HudTextStyle {winSmall(s_), HUD::textSecondary()}.width(*detail_));
    return QSize(int(std::ceil(width)), heightForWidth(int(std::ceil(width))));
}

QSize ComingSoonRow::minimumSizeHint() const
{
    // The badge and a little room for the name; everything else wraps.
    const HudTextStyle badge {winSmall(s_), HUD::textSecondary(), 0.8};
    return QSize(int(std::ceil(detailInset + 40 * s_ + 12 + badge.width(badgeText) + 2 * 8)), 0);
}

void ComingSoonRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(opacity);
    const Layout l = layoutFor(width());

    painter.setPen(Qt::NoPen);
    painter.setBrush(HUD::stroke());
    painter.drawRoundedRect(l.bar, 3, 3);
    drawWrappedText(painter, l.name, name_, {winBody(s_), HUD::textSecondary()});
    drawFramedShape(painter, l.badge, l.badge.height() / 2, HUD::iconBg(), HUD::stroke(), 0.5);
    drawHudText(painter, l.badge.topLeft() + QPointF(8, 3), badgeText, {winSmall(s_), HUD::textSecondary(), 0.8});
    if (detail_)
        drawWrappedText(painter, l.detail, *detail_, {winSmall(s_), withAlpha(HUD::textSecondary(), 0.8)});
}

LayoutSlider::LayoutSlider(
    QString title, Binding<double> value, double minimum, double maximum, QString format, double s, QWidget* parent)
    : QWidget(parent)
    , title_(std::move(title))
    , value_(std::move(value))
    , minimum_(minimum)
    , maximum_(std::max(minimum, maximum))
    , format_(std::move(format))
    , s_(s)
    , slider_(new QSlider(Qt::Horizontal, this))
{
    // Fine enough steps that the slider reads as continuous.
    slider_->setRange(0, sliderSteps);
    slider_->setMinimumHeight(int(sliderMinimumHeight));
    QPalette palette = slider_->palette();
    palette.setColor(QPalette::Highlight, HUD::gold());
    slider_->setPalette(palette);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(int(std::ceil(headerHeight() + 3 + sliderMinimumHeight)));
    slider_->setGeometry(0, int(std::ceil(headerHeight() + 3)), width(), int(sliderMinimumHeight));
    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        if (syncing_)
            return;
        value_.set(minimum_ + (maximum_ - minimum_) * position / double(sliderSteps));
        update();
    });
    sync();
}

double LayoutSlider::headerHeight() const
{
    return std::max(HudTextStyle {winSmall(s_), HUD::textSecondary(), 1.0}.lineHeight(),
        HudTextStyle {winStrong(s_), HUD::gold(), 0, true}.lineHeight());
}

void LayoutSlider::sync()
{
    const double span = maximum_ - minimum_;
    const double fraction = span > 0 ? std::clamp((value_.get() - minimum_) / span, 0.0, 1.0) : 0.0;
    syncing_ = true;
    slider_->setValue(int(std::lround(fraction * sliderSteps)));
    syncing_ = false;
    update();
}

QString LayoutSlider::valueText() const
{
    return QString::asprintf(format_.toUtf8().constData(), value_.get());
}

QSize LayoutSlider::sizeHint() const
{
    return QSize(std::max(slider_->sizeHint().width(), 160), minimumHeight());
}

void LayoutSlider::resizeEvent(QResizeEvent*)
{
    slider_->setGeometry(0, int(std::ceil(headerHeight() + 3)), width(), height() - int(std::ceil(headerHeight() + 3)));
}

void LayoutSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double header = headerHeight();
    const HudTextStyle valueStyle {winStrong(s_), HUD::gold(), 0, true};
    const QString value = valueText();
    const double valueWidth = valueStyle.width(value);
    drawHudLine(painter,
        QRectF(width() - valueWidth, (header - valueStyle.lineHeight()) / 2, valueWidth, valueStyle.lineHeight()),
        value, valueStyle, Qt::AlignRight);
    const HudTextStyle titleStyle {winSmall(s_), HUD::textSecondary(), 1.0};
    drawHudLine(painter,
        QRectF(0, (header - titleStyle.lineHeight()) / 2, std::max(width() - valueWidth - 8, 0.0),
            titleStyle.lineHeight()),
        titleText(), titleStyle);
}

} // namespace tolvane
