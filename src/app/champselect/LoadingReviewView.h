#pragma once
// The lobby's solo-queue ranks while the game loads: a status line and one card per team (one
// for everybody in Arena), each player with portrait, names and rank as far as known.

#include "app/champselect/ChampSelectViewModel.h"
#include "app/champselect/LiveStack.h"

namespace tolvane {

class LoadingReviewView : public LiveStackView {
    Q_OBJECT
public:
    static constexpr double defaultCardWidth = 348;

    // The model must outlive the view; images may be null.
    LoadingReviewView(ChampSelectViewModel& vm, double cardWidth = defaultCardWidth, HudImageSource* images = nullptr,
        QWidget* parent = nullptr);

    // The two lines of a player's name column: the first, and the champion line when shown.
    static std::pair<QString, std::optional<QString>> nameLines(const ChampSelectViewModel::LoadingPlayer& player);
    // What the rank column says: its first line and the record line when there is one.
    static std::pair<QString, std::optional<QString>> rankLines(const ChampSelectViewModel::RankState& rank);
    // The record line's colour for a win rate.
    static QColor recordColour(int64_t percent);

protected:
    std::vector<LiveEntry> build(double width) const override;
    double spacing() const override { return 16 * s_; }

private:
    std::optional<LiveEntry> teamCard(const QString& title,
        const std::vector<ChampSelectViewModel::LoadingPlayer>& players, const QColor& accent, double cardWidth) const;
    PanelRow playerRow(const ChampSelectViewModel::LoadingPlayer& player) const;

    ChampSelectViewModel& vm_;
    double cardWidth_;
};

} // namespace tolvane
