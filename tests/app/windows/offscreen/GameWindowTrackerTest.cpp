#include "app/windows/GameWindowTracker.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

WindowInfo window(const char* owner, QRectF frame, const char* title = "")
{
    WindowInfo info;
    info.ownerName = QString::fromUtf8(owner);
    info.title = QString::fromUtf8(title);
    info.frame = frame;
    return info;
}

TEST(GameWindowTracker, TakesTheGamesWindowWhateverTheCaseOfItsOwnerName)
{
    FakeWindowList list;
    list.windows = std::vector {window("Terminal", {0, 0, 800, 600}),
        window("league of legends", {100, 310, 1280, 720}, "League of Legends (TM) Client")};
    EXPECT_EQ(GameWindowTracker::leagueWindowFrame(list), QRectF(100, 310, 1280, 720));
}

TEST(GameWindowTracker, TakesTheFrontmostOfTheGamesWindows)
{
    FakeWindowList list;
    list.windows = std::vector {
        window("League of Legends", {0, 0, 1920, 1080}), window("LEAGUE OF LEGENDS", {10, 10, 640, 480})};
    EXPECT_EQ(GameWindowTracker::leagueWindowFrame(list), QRectF(0, 0, 1920, 1080));
}

TEST(GameWindowTracker, TheWholeOwnerNameMustMatchAndTheTitleIsNotLookedAt)
{
    FakeWindowList list;
    list.windows = std::vector {window("League of Legends (TM) Client", {0, 0, 1920, 1080}),
        window("LeagueClientUx", {0, 0, 1280, 720}, "League of Legends"),
        window("", {0, 0, 1280, 720}, "League of Legends (TM) Client")};
    EXPECT_EQ(GameWindowTracker::leagueWindowFrame(list), std::nullopt);

    // A window of the game without a usable frame is passed over.
    list.windows = std::vector {window("League of Legends", {0, 0, 0, 0}), window("League of Legends", {5, 5, 50, 50})};
    EXPECT_EQ(GameWindowTracker::leagueWindowFrame(list), QRectF(5, 5, 50, 50));

    // No list at all (the window server could not be asked) is no game window either.
    list.windows = std::nullopt;
    EXPECT_EQ(GameWindowTracker::leagueWindowFrame(list), std::nullopt);
}

} // namespace
} // namespace tolvane
