#pragma once
// The Live tab's champion-select assistant: a status line and the cards that show what the
// champion-select view model publishes, each present only while its content exists.

#include "app/champselect/ChampSelectViewModel.h"
#include "app/champselect/LiveStack.h"

namespace tolvane {

class ChampSelectLiveView : public LiveStackView {
    Q_OBJECT
public:
    static constexpr double defaultCardWidth = 264;

    // The model must outlive the view; images may be null.
    ChampSelectLiveView(ChampSelectViewModel& vm, double cardWidth = defaultCardWidth, HudImageSource* images = nullptr,
        QWidget* parent = nullptr);

    // The rune page of the build, when the advice carries one.
    static std::optional<MetaRunePage> runePage(const ChampSelectViewModel& vm);
    QString statusSubtitle() const;

protected:
    std::vector<LiveEntry> build(double width) const override;
    double spacing() const override { return 16 * s_; }

private:
    ChampSelectViewModel& vm_;
    double cardWidth_;
};

} // namespace tolvane
