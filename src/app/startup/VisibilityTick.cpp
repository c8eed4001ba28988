#include "app/startup/VisibilityTick.h"

#include "app/panels/CooldownPanelViewModel.h"
#include "app/panels/GoldSpentViewModel.h"
#include "app/startup/OverlayLoopState.h"
#include "app/windows/CooldownPanel.h"
#include "app/windows/GameWindowTracker.h"
#include "app/windows/OverlayScale.h"
#include "app/windows/OverlayWindow.h"
#include "core/overlay/KeyCodes.h"
#include "core/overlay/VisibilityTriggers.h"
#include "platform/KeyState.h"

#include <array>
#include <optional>

namespace tolvane {

VisibilityTick::VisibilityTick(OverlayPanels panels, OverlayLoopServices services, OverlayScale& overlayScale,
    const GoldSpentViewModel& goldVM, CooldownPanelViewModel& cooldownVM)
    : panels_(panels)
    , services_(services)
    , settings_(services.settings)
    , placement_(panels, services)
    , overlayScale_(overlayScale)
    , goldVM_(goldVM)
    , cooldownVM_(cooldownVM)
{
}

void VisibilityTick::hideAll()
{
    for (OverlayWindow* window : panels_.overlays()) {
        if (window != nullptr && window->isVisible())
            window->orderOut();
    }
    if (panels_.cooldown != nullptr && panels_.cooldown->isVisible())
        panels_.cooldown->orderOut();
}

void VisibilityTick::syncCooldownSettings(const OverlayLoopSettings& settings)
{
    // No stored format: the panel keeps whatever it was given.
    if (const auto& format = settings.cooldownFormat; format && *format != cooldownVM_.timeFormat())
        cooldownVM_.setTimeFormat(*format);
    if (settings.cdPanelOpacity != cooldownVM_.bgOpacity())
        cooldownVM_.setBgOpacity(settings.cdPanelOpacity);
}

void VisibilityTick::tick()
{
    const OverlayLoopState& state = services_.state;
    if (state.availabilityDisabled) {
        hideAll();
        return;
    }
    const OverlayLoopSettings& settings = settings_.current();

    const bool inGame = goldVM_.summary().has_value();
    const MetaModeRoute::Kind mode = goldVM_.gameMode().kind;
    syncCooldownSettings(settings);
    const bool cooldownShow = state.userEnabled && settings.showCooldowns && cooldownVM_.inGame()
        && !cooldownVM_.rows().empty() && mode == MetaModeRoute::Kind::summonersRift;

    // Tab counts only while some panel may show; outside a match the keyboard is not read.
    const bool tabDown = ((inGame && state.userEnabled) || cooldownShow) && services_.keys.isKeyDown(VirtualKey::tab);
    const bool heldShow = OverlayVisibility::shouldShow(
        state.userEnabled, inGame, settings.triggers, tabDown, state.shopLatch.isLatched());
    // The build panels' latch summons only them: gold and farm want Tab or the whole match.
    const bool tabShow = OverlayVisibility::shouldShow(state.userEnabled, inGame, settings.triggers, tabDown, false);

    std::optional<QRectF> gameFrame;
    if (heldShow || cooldownShow) {
        gameFrame = GameWindowTracker::leagueWindowFrame(services_.windows);
        if (gameFrame) {
            const double scale = PanelPlacement::overlayScale(*gameFrame);
            if (scale != overlayScale_.scale())
                overlayScale_.setScale(scale);
        }
    }

    if (state.repositionMode)
        return;

    const std::array<bool, 5> due {
        tabShow && settings.showGold && mode != MetaModeRoute::Kind::arena,
        heldShow && settings.showPopular,
        heldShow && settings.showMatchup,
        tabShow && settings.showFarm && mode == MetaModeRoute::Kind::summonersRift,
        heldShow && settings.showCombos,
    };
    static constexpr std::array<OverlayWindowPosition, 5> anchors {OverlayWindowPosition::bottomCenter,
        OverlayWindowPosition::rightUpper, OverlayWindowPosition::rightLower, OverlayWindowPosition::hudRight,
        OverlayWindowPosition::topLeft};
    const auto windows = panels_.overlays();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        OverlayWindow* window = windows[i];
        if (window == nullptr)
            continue;
        if (!due[i] || !gameFrame) {
            if (window->isVisible())
                window->orderOut();
            continue;
        }
        window->layout = settings.layout;
        window->setIgnoresMouseEvents(!tabDown);
        const bool wasVisible = window->isVisible();
        // While Tab is held a panel on screen may be under the user's drag: leave it there.
        if (wasVisible && tabDown)
            continue;
        placement_.positionPanel(*window, anchors[i], *gameFrame);
        if (!wasVisible)
            window->orderFront();
    }

    CooldownPanel* cooldown = panels_.cooldown;
    if (cooldown == nullptr)
        return;
    if (!cooldownShow || !gameFrame) {
        if (cooldown->isVisible())
            cooldown->orderOut();
        return;
    }
    // The user marks cooldowns by clicking the panel, so it always takes the mouse.
    cooldown->setIgnoresMouseEvents(false);
    const bool wasVisible = cooldown->isVisible();
    if (wasVisible && tabDown)
        return;
    placement_.positionPanel(*cooldown, OverlayWindowPosition::leftCenter, *gameFrame);
    if (!wasVisible)
        cooldown->orderFront();
}

} // namespace tolvane
