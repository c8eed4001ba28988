#pragma once
// The gold spent panel: without a match "Not in game"; during one the local player against the
// lane opponent (difference badge, bar from the centre, both sides), the team lead, and both
// teams' players by gold. Drawn from the view model's state inside the HUD panel frame.

#include "app/panels/GoldSpentViewModel.h"
#include "app/panels/HudColumn.h"
#include "app/panels/HudPanelContent.h"

#include <QColor>
#include <QPointer>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace tolvane {

class GoldSpentOverlayView : public HudPanelContent {
    Q_OBJECT
public:
    static constexpr double defaultWidth = 234;

    // The view model must outlive the view or be destroyed with it; the view redraws on each of
    // its notifications.
    GoldSpentOverlayView(GoldSpentViewModel* vm, double width = defaultWidth, QObject* parent = nullptr);

    QSizeF naturalSize() const override;
    void paint(QPainter& painter) override;

    enum class State { notInGame, resolving, inLane };
    State state() const;

    // The pure parts, each a function of its arguments.
    struct Styled {
        QString text;
        QColor color;
        bool operator==(const Styled&) const = default;
    };
    static QColor orderBlue();
    static Styled verdict(int64_t delta);
    static Styled leadText(const GoldSpentTracker::Lead& lead);
    static QString laneGold(int64_t gold); // 850g, 1.2kg
    static QString noLanerNote(const std::optional<QString>& position);
    // ORDER and CHAOS players, each by gold, largest first, ties in snapshot order.
    static std::pair<std::vector<GoldSpentTracker::PlayerGold>, std::vector<GoldSpentTracker::PlayerGold>> teamLists(
        const std::vector<GoldSpentTracker::PlayerGold>& players);

private:
    HudColumn column() const;

    QPointer<GoldSpentViewModel> vm_;
    double width_;
};

} // namespace tolvane
