// What the six panels do with a match that goes on without anything to show changing: each view
// model tells its view once per snapshot that changed what it publishes, and each view repaints
// only when what it draws changed, so a poll like the last one costs no repaint at all. And the
// outline each gives its window where no compositor blends its shadow: the card, all of it.
#include "BuildPathFixtures.h"

#include "app/panels/ComboOverlayView.h"
#include "app/panels/ComboViewModel.h"
#include "app/panels/CooldownOverlayView.h"
#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/CounterBuildOverlayView.h"
#include "app/panels/FarmOverlayView.h"
#include "app/panels/FarmViewModel.h"
#include "app/panels/GoldSpentOverlayView.h"
#include "app/panels/GoldSpentViewModel.h"
#include "app/panels/HudPanel.h"
#include "app/panels/RuneBuildOverlayView.h"
#include "RefusingPort.h"

#include <QImage>
#include <QPainter>
#include <QPainterPathStroker>
#include <QtMath>

#include <gtest/gtest.h>

#include <algorithm>
#include <type_traits>

namespace tolvane {
namespace {

using namespace test;

class OneCombo final : public ComboProvider {
public:
    QCoro::Task<std::optional<std::vector<ChampionCombo>>> fetchCombos(QString, MetaQuery) override
    {
        co_return std::vector<ChampionCombo> {{QStringLiteral("Q > E > W"), std::nullopt}};
    }
};

// One panel: its view model, fed one poll result at a time, and its view.
struct Panel {
    std::unique_ptr<QObject> model;
    std::unique_ptr<OverlayContent> view;
    std::function<void(std::optional<AllGameData>)> handle;
};

LiveClientDataClient unused()
{
    return LiveClientDataClient(test::refusingUrl(QStringLiteral("/"), QStringLiteral("https")), nullptr);
}

struct PanelCase {
    const char* name;
    std::function<Panel()> make;
};

void PrintTo(const PanelCase& c, std::ostream* os)
{
    *os << c.name;
}

template <class Model, class View, class... Args> Panel panel(std::unique_ptr<Model> model, Args... viewArgs)
{
    Model* vm = model.get();
    std::unique_ptr<View> view;
    if constexpr (std::is_constructible_v<View, Model*>)
        view = std::make_unique<View>(vm, viewArgs...);
    else
        view = std::make_unique<View>(*vm, viewArgs...);
    Panel p {std::move(model), std::move(view), {}};
    if constexpr (std::is_same_v<Model, CounterBuildViewModel>)
        p.handle = [vm](std::optional<AllGameData> d) { CounterBuildViewModelProbe::handle(*vm, std::move(d)); };
    else if constexpr (std::is_same_v<Model, RuneBuildViewModel>)
        p.handle = [vm](std::optional<AllGameData> d) { RuneBuildViewModelProbe::handle(*vm, std::move(d)); };
    else if constexpr (std::is_same_v<Model, ComboViewModel>)
        p.handle = [vm](std::optional<AllGameData> d) { await(vm->handle(std::move(d))); };
    else
        p.handle = [vm](std::optional<AllGameData> d) { vm->handle(d); };
    return p;
}

const auto catalogs = [] { return SharedCatalogs::fixed(realChampions()); };

AllGameData rankedMatch()
{
    return *AllGameData::decode(realData(QStringLiteral("allgamedata/sr_ranked_11.21_local_player.json"))).value;
}

class SixPanels : public ::testing::TestWithParam<PanelCase> {
protected:
    void reset() { emits = repaints = 0; }

    int emits = 0;
    int repaints = 0;
};

TEST_P(SixPanels, APollLikeTheLastOneRepaintsNothing)
{
    Panel p = GetParam().make();
    const AllGameData match = rankedMatch();
    QObject::connect(static_cast<SnapshotViewModel*>(p.model.get()), &SnapshotViewModel::changed, [this] { ++emits; });
    QObject::connect(p.view.get(), &OverlayContent::changed, [this] { ++repaints; });

    p.handle(match);
    EXPECT_GE(emits, 1);
    EXPECT_LE(emits, 2) << "once for the snapshot, once more at most for a service's answer";
    EXPECT_EQ(repaints, emits);

    reset();
    p.handle(match);
    EXPECT_EQ(emits, 0);
    EXPECT_EQ(repaints, 0);

    // Half a second later: the clock moved, nothing drawn did.
    AllGameData later = match;
    later.gameData.gameTime += 0.5;
    reset();
    p.handle(later);
    EXPECT_EQ(repaints, 0);
    EXPECT_LE(emits, 1);

    reset();
    p.handle(std::nullopt);
    EXPECT_EQ(emits, 1) << "the match is over";
    EXPECT_EQ(repaints, 1);
}

TEST_P(SixPanels, TheOutlineHoldsTheWholeCardAndLeavesTheShadowRoomOut)
{
    Panel p = GetParam().make();
    p.handle(rankedMatch());
    const QSizeF natural = p.view->naturalSize();
    ASSERT_TRUE(natural.width() > 1 && natural.height() > 1) << "the panel has something to show";
    const QPainterPath outline = p.view->panelShape();
    const QRectF card = QRectF(QPointF(0, 0), natural).marginsRemoved(HudPanel::shadowMargins);
    EXPECT_EQ(outline.boundingRect(), card);
    EXPECT_FALSE(outline.contains(card.topLeft() + QPointF(1, 1))) << "the card's corners are rounded";

    // Drawn alone: every pixel opaque enough to be more than shadow lies on the outline.
    QImage image(qCeil(natural.width()), qCeil(natural.height()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        p.view->paint(painter);
    }
    QPainterPathStroker edge;
    edge.setWidth(2);
    const QPainterPath held = outline.united(edge.createStroke(outline));
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).alpha() < 128)
                continue;
            (held.contains(QPointF(x + 0.5, y + 0.5)) ? inside : outside) += 1;
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

INSTANTIATE_TEST_SUITE_P(Panels, SixPanels,
    ::testing::Values(PanelCase {"gold",
                          [] {
                              return panel<GoldSpentViewModel, GoldSpentOverlayView>(
                                  std::make_unique<GoldSpentViewModel>(unused(), catalogs()));
                          }},
        PanelCase {"matchup",
            [] {
                auto vm = std::make_unique<CounterBuildViewModel>(
                    std::make_shared<FakeMatchupProvider>(), unused(), catalogs());
                CounterBuildViewModelProbe::setCatalog(*vm, realChampions());
                return panel<CounterBuildViewModel, CounterBuildOverlayView>(std::move(vm), 248.0, nullptr);
            }},
        PanelCase {"popular build",
            [] {
                auto vm = std::make_unique<RuneBuildViewModel>(
                    std::make_shared<FakeMetaBuildProvider>(), unused(), catalogs());
                RuneBuildViewModelProbe::setCatalog(*vm, realChampions());
                return panel<RuneBuildViewModel, RuneBuildOverlayView>(std::move(vm), 230.0, nullptr);
            }},
        PanelCase {"combos",
            [] {
                auto vm = std::make_unique<ComboViewModel>(std::make_shared<OneCombo>(), unused(), catalogs());
                return panel<ComboViewModel, ComboOverlayView>(std::move(vm), 216.0, 6);
            }},
        PanelCase {"cooldowns",
            [] {
                auto vm = std::make_unique<CooldownPanelViewModel>(unused(), catalogs());
                await(vm->loadCatalog());
                return panel<CooldownPanelViewModel, CooldownOverlayView>(std::move(vm), nullptr);
            }},
        PanelCase {"farm",
            [] { return panel<FarmViewModel, FarmOverlayView>(std::make_unique<FarmViewModel>(unused(), nullptr)); }}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

} // namespace
} // namespace tolvane
