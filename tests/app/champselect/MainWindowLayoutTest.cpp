// The whole main window as a player meets it: every tab and Settings page in the real window at
// its default size for each text size, the Live tab fed real captured sessions through the real
// view model. Nothing may stick out of the column or make it scroll sideways, no text may be cut
// or broken inside a word, every chip, pill and button keeps its label clear of its edges, and
// the Live tab's cards stand where their drawn pixels say they should.

#include "app/champselect/LiveTab.h"
#include "app/mainwindow/MainWindowController.h"
#include "app/mainwindow/AdvancedPage.h"
#include "app/mainwindow/MainWindowView.h"
#include "app/mainwindow/PanelsPage.h"
#include "app/mainwindow/SettingsControls.h"
#include "app/mainwindow/SettingsModel.h"
#include "app/mainwindow/SettingsTab.h"
#include "app/panels/HudStyle.h"
#include "app/panels/HudText.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/UserDefaults.h"
#include "platform/KeyCodeNamer.h"

#include "ChampSelectFixture.h"
#include "LiveViewSupport.h"
#include "NoGame.h"

#include <QDir>
#include <QGlyphRun>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRawFont>
#include <QScrollArea>
#include <QTextLayout>

#include <map>

using namespace tolvane;
using namespace tolvane::test;

namespace {

enum class Shown { liveIdle, liveChampSelect, liveLoading, liveInGame, home, whatsNew, panels, layout, advanced };

struct ShownCase {
    const char* name;
    Shown shown;
};

void PrintTo(const ShownCase& c, std::ostream* os)
{
    *os << c.name;
}

// Where runs of nearly opaque pixels go down one column of a stack drawn on nothing: cards
// (background at 0.86) are, their shadows (at most 0.5) are not. Runs shorter than a card are text.
std::vector<std::pair<int, int>> opaqueRuns(const QImage& image, int x)
{
    std::vector<std::pair<int, int>> runs;
    int start = -1;
    for (int y = 0; y <= image.height(); ++y) {
        const bool opaque = y < image.height() && qAlpha(image.pixel(x, y)) > 180;
        if (opaque && start < 0)
            start = y;
        if (!opaque && start >= 0) {
            if (y - start >= 30)
                runs.emplace_back(start, y);
            start = -1;
        }
    }
    return runs;
}

// A control that draws its label inside a shape of its own (chip, pill, button): the label's
// colour and the shape, in the control's coordinates.
struct LabelledShape {
    QColor text;
    QRectF shape;
};

std::optional<LabelledShape> labelledShape(const QWidget& control)
{
    if (const auto* chip = dynamic_cast<const KeyChip*>(&control))
        return LabelledShape {HUD::textPrimary(), QRectF(chip->rect())};
    if (const auto* pill = dynamic_cast<const ResetPillButton*>(&control)) {
        QRectF shape(QPointF(), pill->pillSize());
        shape.moveCenter(QRectF(pill->rect()).center());
        return LabelledShape {HUD::gold(), shape};
    }
    if (const auto* pill = dynamic_cast<const CustomPill*>(&control))
        return LabelledShape {HUD::gold(), QRectF(pill->rect())};
    if (const auto* button = qobject_cast<const QPushButton*>(&control))
        return LabelledShape {button->palette().color(QPalette::ButtonText), QRectF(button->rect())};
    return std::nullopt;
}

// How far a label's pixels must keep from its shape's edge, across and up or down.
constexpr int labelClearanceAcross = 8;
constexpr int labelClearanceDown = 3;

class MainWindowLayout : public ChampSelectFixture, public ::testing::WithParamInterface<ShownCase> {
protected:
    void TearDown() override
    {
        setHudElisionObserver({});
        setHudWordBreakObserver({});
        window.reset();
        ChampSelectFixture::TearDown();
    }

    // Puts the models into the state the case shows (real sessions through the real model).
    void enterState(Shown shown)
    {
        auto& vm = loadedModel();
        if (shown == Shown::liveChampSelect) {
            builds->answer
                = MetaBuildAdvice {fullBuild(), MetaFreshness::fresh(), MetaBuildAdvice::metrionProvenance()};
            route(gameflowPath, gameflowDoc(QStringLiteral("ChampSelect"), 11));
            await(vm.handle(finalizationSession(), client()));
            ASSERT_TRUE(spinUntil([&] {
                return !vm.spellRecs().empty()
                    && std::none_of(vm.spellRecs().begin(), vm.spellRecs().end(), [](const auto& row) {
                           return row.state.kind == ChampSelectViewModel::EnemySpellRec::SpellState::Kind::loading;
                       });
            }));
        }
        if (shown == Shown::liveLoading || shown == Shown::liveInGame) {
            // The CN client's lobby: players' names in Chinese.
            route(QStringLiteral("/riotclient/region-locale"),
                lcuDoc(QStringLiteral("riotclient/region-locale_euw_fr.json")));
            vm.enterLoadingScreen(
                *GameflowSession::decode(lcuDoc(QStringLiteral("gameflow/aram_450_InProgress_cn_2024.json"))).value,
                client());
            ASSERT_TRUE(spinUntil([&] { return vm.loadingEnemies().size() == 5; }));
        }
        if (shown == Shown::panels) // with the shop block and its key rows
            store.setTriggers({VisibilityTriggers::tab(), VisibilityTriggers::shop()});
        if (shown == Shown::liveInGame) {
            RuneBuildViewModelProbe::setInGame(runeVM, true);
            RuneBuildViewModelProbe::setAdvice(
                runeVM, MetaBuildAdvice {fullBuild(), MetaFreshness::fresh(), MetaBuildAdvice::metrionProvenance()});
        }
    }

    // The real window at the text size's default size, with a menu bar as the application sets.
    MainWindowController& openWindow(qint64 textSizeIndex)
    {
        window.reset();
        store.setWindowTextSizeIndex(textSizeIndex);
        MainWindowController::Services services;
        services.keyNamer = std::make_shared<FakeKeyCodeNamer>();
        window = std::make_unique<MainWindowController>(
            store, *vm, runeVM, [] { return true; }, [] {}, services);
        auto* bar = new QMenuBar;
        bar->addMenu(QStringLiteral("Tolvane"))->addAction(QStringLiteral("About Tolvane"));
        bar->addMenu(QStringLiteral("Window"))->addAction(QStringLiteral("Close"));
        window->window()->setMenuBar(bar);
        return *window;
    }

    void select(MainWindowController& controller, Shown shown)
    {
        using Tab = SettingsModel::SettingsTab;
        const std::map<Shown, std::pair<MainTab, Tab>> tabs {{Shown::home, {MainTab::home, Tab::panels}},
            {Shown::whatsNew, {MainTab::whatsNew, Tab::panels}}, {Shown::panels, {MainTab::settings, Tab::panels}},
            {Shown::layout, {MainTab::settings, Tab::layout}}, {Shown::advanced, {MainTab::settings, Tab::advanced}}};
        const auto found = tabs.find(shown);
        controller.model().setActiveTab(found == tabs.end() ? Tab::panels : found->second.second);
        controller.chrome().setSelection(found == tabs.end() ? MainTab::live : found->second.first);
        // One key chip waits for a key, the other shows the fallback key's name.
        if (shown == Shown::panels)
            controller.chrome().setCaptureTarget(KeyCaptureTarget::shop);
    }

    // Every chip, pill and button in the column: its label is drawn, inside its shape, clear of
    // the shape's edge.
    static void expectLabelsClearOfTheirEdges(QWidget& content, const QImage& drawn)
    {
        int seen = 0;
        for (QWidget* control : content.findChildren<QWidget*>()) {
            const auto labelled = labelledShape(*control);
            if (!labelled || !control->isVisibleTo(&content))
                continue;
            ++seen;
            const QRectF shape = labelled->shape.translated(control->mapTo(&content, QPoint(0, 0)));
            const QRect ink = inkOfColour(drawn, labelled->text, shape.toAlignedRect());
            const std::string what = control->metaObject()->className() + std::string(" \"")
                + (qobject_cast<QAbstractButton*>(control) ? qobject_cast<QAbstractButton*>(control)->text()
                                                           : QStringLiteral("CUSTOM"))
                      .toStdString()
                + "\"";
            ASSERT_FALSE(ink.isEmpty()) << what << ": no label drawn";
            EXPECT_GE(ink.left() - shape.left(), labelClearanceAcross) << what << " at its left edge";
            EXPECT_GE(shape.right() - (ink.right() + 1), labelClearanceAcross) << what << " at its right edge";
            EXPECT_GE(ink.top() - shape.top(), labelClearanceDown) << what << " at its top edge";
            EXPECT_GE(shape.bottom() - (ink.bottom() + 1), labelClearanceDown) << what << " at its bottom edge";
        }
        const QList<QWidget*> all = content.findChildren<QWidget*>();
        const auto any = [&all](auto isOne) { return std::any_of(all.begin(), all.end(), isOne); };
        if (any([](QWidget* w) { return dynamic_cast<SettingsView*>(w); })
            && !any([](QWidget* w) { return dynamic_cast<AdvancedTabView*>(w); })) {
            EXPECT_GT(seen, 0) << "no chip, pill or button looked at";
        }
    }

    // Every card of every Live section: the pixels' cards stand at the status line's leading edge,
    // one spacing below it and one spacing apart.
    void expectCardsPlacedByTheirPixels(LiveTab& tab, double s)
    {
        for (LiveStackView* section : tab.sections()) {
            const bool inGame = section->entry(QStringLiteral("build panel")) != nullptr;
            const double spacing = inGame ? 10 : 16 * s;
            QImage drawn(section->size(), QImage::Format_ARGB32_Premultiplied);
            drawn.fill(Qt::transparent);
            section->render(&drawn, QPoint(), QRegion(), QWidget::DrawChildren);

            int cardLeft = -1;
            for (int x = 0; x < drawn.width() / 2 && cardLeft < 0; ++x)
                if (!opaqueRuns(drawn, x).empty())
                    cardLeft = x;
            ASSERT_GE(cardLeft, 0) << "no card drawn";
            const QRectF status = section->entryRects().front();
            int dotLeft = -1;
            for (int x = 0; x < drawn.width() && dotLeft < 0; ++x)
                for (int y = int(status.top()); y < int(status.bottom()) && dotLeft < 0; ++y)
                    if (qAlpha(drawn.pixel(x, y)) > 200)
                        dotLeft = x;
            EXPECT_NEAR(cardLeft, dotLeft, 1) << "cards at the status line's leading edge";

            const auto cards = opaqueRuns(drawn, cardLeft + 60);
            ASSERT_FALSE(cards.empty());
            EXPECT_NEAR(cards.front().first - status.bottom(), spacing, 1.5) << "under the status line";
            for (size_t i = 1; i < cards.size(); ++i)
                EXPECT_NEAR(cards[i].first - cards[i - 1].second, spacing, 1.5) << "between cards " << i;
        }
    }

    std::shared_ptr<InMemoryUserDefaults> defaults = std::make_shared<InMemoryUserDefaults>();
    OverlaySettingsStore store {defaults};
    RuneBuildViewModel runeVM {builds, test::noGameClient(), SharedCatalogs::fixed({})};
    std::unique_ptr<MainWindowController> window;
};

TEST_P(MainWindowLayout, FitsTheColumnAtEveryTextSize)
{
    const Shown shown = GetParam().shown;
    enterState(shown);
    if (HasFatalFailure())
        return;
    QStringList elided;
    setHudElisionObserver([&](const QString& text) { elided << text; });
    QStringList brokenWords;
    setHudWordBreakObserver([&](const QString& text) { brokenWords << text; });

    for (qint64 index = 0; index < 4; ++index) {
        const double s = windowTextScale(index);
        SCOPED_TRACE(testing::Message() << "text scale " << s);
        MainWindowController& controller = openWindow(index);
        select(controller, shown);
        QMainWindow& main = *controller.window();
        main.show();
        // Layouts settle over a few turns of the event loop (wrapped text asks for its height
        // once its width is known); a settings page is built once control returns.
        for (int turn = 0; turn < 10; ++turn)
            QCoreApplication::processEvents();

        const QSize content = controller.view().size();
        EXPECT_EQ(content, QSize(qRound(380 * s), qRound(620 * s))) << "the menu bar comes on top of the content";
        EXPECT_EQ(main.minimumSize(), QSize(qRound(340 * s), qRound(520 * s)));
        const QRect bar = main.menuWidget()->geometry();

        QScrollArea& column = *controller.view().column();
        const QRect viewport = column.viewport()->rect();
        EXPECT_LE(column.widget()->width(), viewport.width()) << "the column would scroll sideways";
        for (QWidget* control : column.widget()->findChildren<QWidget*>()) {
            if (!control->isVisibleTo(&main) || control->size().isEmpty())
                continue;
            const QRect place(control->mapTo(column.viewport(), QPoint(0, 0)), control->size());
            EXPECT_TRUE(place.left() >= 0 && place.right() <= viewport.right())
                << control->metaObject()->className() << " at " << place.left() << "..." << place.right()
                << " in a column " << viewport.width() << " wide";
            // Shorter than its wrapped text needs, a control's last lines are cut off.
            if (control->hasHeightForWidth()) {
                EXPECT_GE(control->height(), control->heightForWidth(control->width()))
                    << control->metaObject()->className() << " at " << place.top();
            }
        }

        elided.clear();
        brokenWords.clear();
        const QImage image = main.grab().toImage();
        EXPECT_LT(QColor(image.pixel(bar.right() - 4, bar.center().y())).lightness(), 60) << "a dark menu bar";
        // A card header's trailing text gives way to its title; nothing else is cut.
        elided.removeAll(QStringLiteral("IF YOUR LANER IS…"));
        EXPECT_TRUE(elided.isEmpty()) << "cut: " << elided.join(QStringLiteral(" | ")).toStdString();
        const QString folder = QStringLiteral(TOLVANE_BINARY_DIR "/shell");
        QDir().mkpath(folder);
        const QString name
            = QStringLiteral("%1/window-%2-%3").arg(folder, QString::fromLatin1(GetParam().name)).arg(index);
        image.save(name + QStringLiteral(".png"));
        const QImage whole = column.widget()->grab().toImage(); // the whole column, scrolled through
        whole.save(name + QStringLiteral("-scrolled-through.png"));
        EXPECT_TRUE(brokenWords.isEmpty())
            << "broken inside a word: " << brokenWords.join(QStringLiteral(" | ")).toStdString();
        expectLabelsClearOfTheirEdges(*column.widget(), whole);

        if (auto* live = dynamic_cast<LiveTab*>(controller.view().tabContent()); live && shown != Shown::liveIdle)
            expectCardsPlacedByTheirPixels(*live, s);
    }

    if (shown == Shown::liveLoading) {
        // The lobby's Chinese names are drawn from glyphs, none from the font's empty box.
        int names = 0;
        for (const auto& player : vm->loadingEnemies()) {
            if (!player.displayName)
                continue;
            QTextLayout layout(*player.displayName, winBody().font());
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            for (const QGlyphRun& run : layout.glyphRuns())
                for (quint32 glyph : run.glyphIndexes())
                    EXPECT_NE(glyph, 0u) << player.displayName->toStdString() << " in "
                                         << run.rawFont().familyName().toStdString();
            ++names;
        }
        EXPECT_GT(names, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Tabs, MainWindowLayout,
    ::testing::Values(ShownCase {"live-idle", Shown::liveIdle}, ShownCase {"live-champselect", Shown::liveChampSelect},
        ShownCase {"live-loading", Shown::liveLoading}, ShownCase {"live-ingame", Shown::liveInGame},
        ShownCase {"home", Shown::home}, ShownCase {"whatsnew", Shown::whatsNew},
        ShownCase {"settings-panels", Shown::panels}, ShownCase {"settings-layout", Shown::layout},
        ShownCase {"settings-advanced", Shown::advanced}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

} // namespace
