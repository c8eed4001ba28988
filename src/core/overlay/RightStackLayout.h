#pragma once
// Where the stack of the two build panels (popular build above, matchup below) stands at the
// right-hand side of the game window; the user tunes it in the settings.

namespace tolvane {

struct RightStackLayout {
    double insetFraction = 0.1; // in from the window's right edge, in units of its width
    double raiseFraction = 0.12; // the seam between the panels, up from the middle, in units of height
    double gap = 12.0; // points kept around that seam

    static constexpr RightStackLayout standard() { return {0.1, 0.12, 12.0}; }

    friend bool operator==(const RightStackLayout&, const RightStackLayout&) = default;
};

} // namespace tolvane
