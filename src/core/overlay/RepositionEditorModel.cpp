#include "core/overlay/RepositionEditorModel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tolvane {

namespace {

struct DefaultCorner {
    double fx;
    double fy;
};

DefaultCorner defaultCorner(PanelID id)
{
    switch (id) {
    case PanelID::combos:
        return {0.006, 0.011};
    case PanelID::cooldowns:
        return {0.006, 0.417};
    case PanelID::popularBuild:
        return {0.808, 0.147};
    case PanelID::matchup:
        return {0.808, 0.372};
    case PanelID::goldTracker:
        return {0.469, 0.806};
    case PanelID::farmBenchmark:
        return {0.68, 0.952};
    }
    return {0, 0};
}

// The size a panel has before it has drawn anything, at a 1440-point-high game window.
QSizeF defaultPanelSize(PanelID id)
{
    switch (id) {
    case PanelID::combos:
        return {180, 120};
    case PanelID::cooldowns:
        return {220, 280};
    case PanelID::popularBuild:
        return {220, 380};
    case PanelID::matchup:
        return {220, 280};
    case PanelID::goldTracker:
        return {234, 260};
    case PanelID::farmBenchmark:
        return {200, 110};
    }
    return {0, 0};
}

} // namespace

RepositionEditorModel::RepositionEditorModel(QSizeF gameSize, PanelSizes panelSizes, PanelPoints initialPositions,
    PanelPositionStore positionStore, OverlaySettingsStore settingsStore, OnDone onDone)
    : gameSize_(gameSize)
    , panelSizes_(std::move(panelSizes))
    , initialPositions_(std::move(initialPositions))
    , positionStore_(std::move(positionStore))
    , settingsStore_(std::move(settingsStore))
    , onDone_(std::move(onDone))
{
}

PanelSizes RepositionEditorModel::chipSizesFor(double gameHeight, const PanelSizes& liveWindowSizes)
{
    const double s = gameHeight / 1440.0;
    const auto live = [&](PanelID id) {
        const auto found = liveWindowSizes.find(id);
        return found == liveWindowSizes.end() ? QSizeF(0, 0) : found->second;
    };
    const auto wideEnough = [](double extent) { return extent > 50 ? extent : 0.0; };
    const double buildWidth = std::max(
        {wideEnough(live(PanelID::popularBuild).width()), wideEnough(live(PanelID::matchup).width()), s * 220});
    PanelSizes sizes;
    for (PanelID id : allPanelIDs) {
        const QSizeF window = live(id);
        const QSizeF fallback = defaultPanelSize(id);
        double width = window.width() > 50 ? window.width() : s * fallback.width();
        const double height = window.height() > 50 ? window.height() : s * fallback.height();
        if (id == PanelID::popularBuild || id == PanelID::matchup)
            width = buildWidth;
        sizes[id] = QSizeF(width, height);
    }
    return sizes;
}

PanelPoints RepositionEditorModel::initialPositionsFor(QSizeF gameSize, const PanelPositionStore& store)
{
    PanelPoints positions;
    for (PanelID id : allPanelIDs) {
        if (const auto fraction = store.fraction(id, RepositionMode::summonersRift))
            positions[id] = QPointF(fraction->x() * gameSize.width(), fraction->y() * gameSize.height());
    }
    return positions;
}

void RepositionEditorModel::appear()
{
    chipCenters_ = initialPositions_;
    for (PanelID id : allPanelIDs) {
        if (!chipCenters_.contains(id))
            chipCenters_[id] = defaultCenter(id);
    }
    twoBuildLinked_ = settingsStore_.twoBuildLinked();
}

QSizeF RepositionEditorModel::chipSize(PanelID id) const
{
    const auto found = panelSizes_.find(id);
    return found == panelSizes_.end() ? fallbackChipSize : found->second;
}

QPointF RepositionEditorModel::defaultCenter(PanelID id) const
{
    const DefaultCorner corner = defaultCorner(id);
    const QSizeF size = chipSize(id);
    return {gameSize_.width() * corner.fx + size.width() / 2, gameSize_.height() * corner.fy + size.height() / 2};
}

PanelPoints RepositionEditorModel::defaultChipCenters() const
{
    PanelPoints centers;
    for (PanelID id : allPanelIDs)
        centers[id] = defaultCenter(id);
    return centers;
}

PanelPoints RepositionEditorModel::loadPositions(RepositionMode mode) const
{
    PanelPoints centers;
    for (PanelID id : allPanelIDs) {
        if (const auto fraction = positionStore_.fraction(id, mode))
            centers[id] = QPointF(gameSize_.width() * fraction->x(), gameSize_.height() * fraction->y());
        else
            centers[id] = defaultCenter(id);
    }
    return centers;
}

void RepositionEditorModel::saveCurrentPositions(RepositionMode mode)
{
    for (const auto& [id, fraction] : centerFractions(chipCenters_)) {
        // An empty game area gives no fraction at all; what was stored stays.
        if (std::isfinite(fraction.x()) && std::isfinite(fraction.y()))
            positionStore_.setFraction(id, fraction, mode);
    }
}

PanelPoints RepositionEditorModel::centerFractions(const PanelPoints& centers) const
{
    PanelPoints fractions;
    for (const auto& [id, center] : centers)
        fractions[id] = QPointF(center.x() / gameSize_.width(), center.y() / gameSize_.height());
    return fractions;
}

void RepositionEditorModel::switchMode(RepositionMode mode)
{
    saveCurrentPositions(activeMode_);
    activeMode_ = mode;
    chipCenters_ = loadPositions(mode);
}

void RepositionEditorModel::performUndo()
{
    auto stack = undoStacks_.find(activeMode_);
    if (stack == undoStacks_.end() || stack->second.empty())
        return;
    const RepositionSnapshot snapshot = stack->second.back();
    stack->second.pop_back();
    for (const auto& [id, fraction] : snapshot.centerFractions)
        chipCenters_[id] = QPointF(fraction.x() * gameSize_.width(), fraction.y() * gameSize_.height());
}

void RepositionEditorModel::performReset()
{
    positionStore_.clear(activeMode_);
    undoStacks_[activeMode_].clear();
    chipCenters_ = defaultChipCenters();
}

void RepositionEditorModel::performDone()
{
    // The editor closes on the first Done; a second click that arrives before it is gone must
    // not report completion twice.
    if (done_)
        return;
    done_ = true;
    saveCurrentPositions(activeMode_);
    undoStacks_[activeMode_].clear();
    if (onDone_)
        onDone_(chipCenters_, activeMode_);
}

void RepositionEditorModel::toggleLink()
{
    twoBuildLinked_ = !twoBuildLinked_;
    settingsStore_.setTwoBuildLinked(twoBuildLinked_);
}

void RepositionEditorModel::dragChanged(PanelID id, QSizeF size, QPointF translation)
{
    if (!preDragCenters_.contains(id))
        preDragCenters_ = chipCenters_;
    const auto start = preDragCenters_.find(id);
    if (start == preDragCenters_.end())
        return;
    const QPointF p = start->second + translation;
    // Lower bound first, upper bound last: in an area smaller than the chip the upper one wins.
    const double x = std::min(std::max(p.x(), size.width() / 2), gameSize_.width() - size.width() / 2);
    const double y = std::min(std::max(p.y(), size.height() / 2), gameSize_.height() - size.height() / 2);
    chipCenters_[id] = QPointF(x, y);

    if (twoBuildLinked_ && id == PanelID::popularBuild) {
        const auto popular = panelSizes_.find(PanelID::popularBuild);
        if (popular != panelSizes_.end()) {
            const auto matchup = panelSizes_.find(PanelID::matchup);
            const double matchupHeight = matchup == panelSizes_.end() ? 60.0 : matchup->second.height();
            chipCenters_[PanelID::matchup] = QPointF(x, y + popular->second.height() / 2 + linkGap + matchupHeight / 2);
        }
    }
    if (twoBuildLinked_ && id == PanelID::matchup) {
        twoBuildLinked_ = false;
        settingsStore_.setTwoBuildLinked(false);
    }
}

void RepositionEditorModel::dragEnded(PanelID id)
{
    const auto before = preDragCenters_.find(id);
    if (before != preDragCenters_.end()) {
        const auto now = chipCenters_.find(id);
        const bool moved = now == chipCenters_.end() || now->second.x() != before->second.x()
            || now->second.y() != before->second.y();
        if (moved)
            undoStacks_[activeMode_].push_back(RepositionSnapshot {centerFractions(preDragCenters_)});
    }
    preDragCenters_.clear();
}

QPointF RepositionEditorModel::chipCenter(PanelID id) const
{
    const auto found = chipCenters_.find(id);
    return found == chipCenters_.end() ? defaultCenter(id) : found->second;
}

int RepositionEditorModel::undoCount() const
{
    return undoCount(activeMode_);
}

int RepositionEditorModel::undoCount(RepositionMode mode) const
{
    const auto found = undoStacks_.find(mode);
    return found == undoStacks_.end() ? 0 : static_cast<int>(found->second.size());
}

} // namespace tolvane
