// The shop latch through the key poll: presses are edges of the polled key states, the shop and
// fallback keys toggle, Esc clears, and outside a match the latch is off.
#include "OverlayLoopFixture.h"

#include "app/startup/ShopKeyPoll.h"

#include <set>

namespace tolvane::test {
namespace {

// One poll: whether a match runs and which keys are held at that moment.
struct Poll {
    bool inGame = true;
    std::set<int> held;
};

struct LatchCase {
    const char* name;
    std::vector<Poll> polls;
    bool latched;
};

void PrintTo(const LatchCase& c, std::ostream* os)
{
    *os << c.name;
}

constexpr int shopKey = VirtualKey::p;
constexpr int fallbackKey = VirtualKey::leftCommand;
constexpr int esc = VirtualKey::escape;

class ShopLatchThroughThePoll : public OverlayLoopFixture, public ::testing::WithParamInterface<LatchCase> {
protected:
    void run(const std::vector<Poll>& polls)
    {
        for (const Poll& p : polls) {
            if (p.inGame)
                startMatch();
            else
                endMatch();
            for (const int key : {shopKey, fallbackKey, esc, 3, 12})
                keys.setDown(key, p.held.contains(key));
            poll.pollShopKeys();
        }
    }

    ShopKeyPoll poll {services, goldVM};
};

TEST_P(ShopLatchThroughThePoll, EndsAsExpected)
{
    run(GetParam().polls);
    EXPECT_EQ(state.shopLatch.isLatched(), GetParam().latched);
}

const Poll up {true, {}};
const Poll shop {true, {shopKey}};

INSTANTIATE_TEST_SUITE_P(Sequences, ShopLatchThroughThePoll,
    ::testing::Values(LatchCase {"one press latches", {up, shop, up}, true},
        LatchCase {"a second press unlatches", {shop, up, shop, up}, false},
        LatchCase {"holding the key toggles once", {shop, shop, shop}, true},
        LatchCase {"the fallback key toggles too", {{true, {fallbackKey}}, up}, true},
        LatchCase {"Esc clears", {shop, up, {true, {esc}}, up}, false},
        LatchCase {"Esc then the shop key latches again", {shop, up, {true, {esc}}, up, shop}, true},
        LatchCase {"Esc held does not block the shop key", {{true, {esc}}, {true, {esc, shopKey}}}, true},
        LatchCase {"shop and fallback in one poll cancel out", {{true, {shopKey, fallbackKey}}}, false},
        LatchCase {"shop and fallback in one poll while latched", {shop, up, {true, {shopKey, fallbackKey}}}, true},
        LatchCase {"shop and Esc in one poll end off", {{true, {shopKey, esc}}}, false},
        LatchCase {"the end of the match clears", {shop, up, {false, {}}}, false},
        LatchCase {"no press counts outside a match", {{false, {shopKey}}, {false, {}}, {false, {shopKey}}}, false},
        LatchCase {"a key held from one match into the next is not a press",
            {shop, {false, {shopKey}}, {true, {shopKey}}, {true, {shopKey}}}, false},
        LatchCase {"but its release and press in the new match is",
            {shop, {false, {shopKey}}, {true, {shopKey}}, up, shop}, true}));

TEST_F(ShopLatchThroughThePoll, TheKeysAreTheOnesInTheSettingsAtEachPoll)
{
    settings.setShopKeyCode(3);
    settings.setFallbackKeyCode(12);
    run({shop, up});
    EXPECT_FALSE(state.shopLatch.isLatched()) << "the default shop key no longer counts";
    run({{true, {3}}, up});
    EXPECT_TRUE(state.shopLatch.isLatched());
    run({{true, {12}}, up});
    EXPECT_FALSE(state.shopLatch.isLatched());

    // Changed between two polls: taken at once.
    settings.setShopKeyCode(shopKey);
    run({shop});
    EXPECT_TRUE(state.shopLatch.isLatched());
}

TEST_F(ShopLatchThroughThePoll, EachPollInAMatchReadsTheKeyboardOnceForAllThreeKeys)
{
    run({up, shop, up, {true, {esc}}});
    EXPECT_EQ(keys.reads, 4);
    run({{false, {}}, {false, {shopKey}}});
    EXPECT_EQ(keys.reads, 4) << "outside a match nothing is read";
}

TEST_F(ShopLatchThroughThePoll, AKeyCodeStoredOutOfRangeWatchesTheDefaultKey)
{
    defaults->set(OverlaySettingsStore::Keys::shopKeyCode, qint64(65536 + 3));
    run({{true, {3}}, up});
    EXPECT_FALSE(state.shopLatch.isLatched());
    run({shop, up});
    EXPECT_TRUE(state.shopLatch.isLatched());
}

} // namespace
} // namespace tolvane::test
