// Feeds stored settings of any type to every typed reading of the overlay settings and the panel
// positions. An input starting with a zero byte is a list of typed values put in the in-memory
// store (any Qt type under any key the app reads); any other input is the text of the INI file
// the app keeps, hand-edited or damaged. Checks the readings' ranges, that the loops' combined
// and cached readings agree with the single ones, that writing back what was read and reading
// again (from the file, as a new launch does) gives the same with a user's changes kept, and what
// the position moves promise.

#include "core/overlay/KeyCodes.h"
#include "core/overlay/OverlaySettingsStore.h"
#include "core/overlay/PanelPositionStore.h"
#include "core/overlay/UserDefaults.h"

#include "FuzzCheck.h"

#include <QPointF>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace tolvane;
using fuzz::require;
using fuzz::same;

// Where the positions of the older one-mode layout were kept, one per panel in the order of
// allPanelIDs.
const QStringList legacyKeys {QStringLiteral("panelFraction.topLeft"), QStringLiteral("panelFraction.leftCenter"),
    QStringLiteral("panelFraction.rightUpper"), QStringLiteral("panelFraction.rightLower"),
    QStringLiteral("panelFraction.bottomCenter"), QStringLiteral("panelFraction.hudRight")};

const QStringList& knownKeys()
{
    static const QStringList keys = [] {
        using K = OverlaySettingsStore::Keys;
        QStringList out {K::triggers, K::showPopular, K::showMatchup, K::showGold, K::showCooldowns, K::showFarm,
            K::showCombos, K::usagePingEnabled, K::mainWindowDismissed, K::windowTextSizeIndex, K::twoBuildLinked,
            K::layoutInset, K::layoutRaise, K::layoutGap, K::shopKeyCode, K::fallbackKeyCode, K::cooldownFormat,
            K::cdPanelOpacity, PanelPositionStore::formatFlagKey};
        for (PanelID panel : allPanelIDs)
            for (RepositionMode mode : allRepositionModes)
                out.append(PanelPositionStore::key(panel, mode));
        return out + legacyKeys;
    }();
    return keys;
}

// Reads typed values off the input; past its end every read gives zeros.
class Reader {
public:
    Reader(const uint8_t* data, size_t size)
        : data_(data)
        , size_(size)
    {
    }
    bool atEnd() const { return at_ >= size_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    template <class T> T raw()
    {
        T value {};
        const size_t n = std::min(sizeof(T), size_ - std::min(at_, size_));
        std::memcpy(&value, data_ + at_, n);
        at_ += n;
        return value;
    }
    QByteArray chunk()
    {
        const size_t n = std::min<size_t>(byte() % 32, size_ - std::min(at_, size_));
        QByteArray out(reinterpret_cast<const char*>(data_ + at_), qsizetype(n));
        at_ += n;
        return out;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

QVariant value(Reader& in, int depth)
{
    switch (in.byte() % 16) {
    case 0:
        return bool(in.byte() & 1);
    case 1:
        return in.raw<int>();
    case 2:
        return in.raw<uint>();
    case 3:
        return QVariant::fromValue(in.raw<qint64>());
    case 4:
        return QVariant::fromValue(in.raw<quint64>());
    case 5:
        return in.raw<double>();
    case 6:
        return in.raw<float>();
    case 7:
        return QString::fromUtf8(in.chunk());
    case 8:
        return in.chunk();
    case 9:
    case 10: {
        QVariantList list;
        for (int n = in.byte() % 4; n > 0 && depth < 2; --n)
            list.append(value(in, depth + 1));
        return list;
    }
    case 11:
        return QStringList {QString::fromUtf8(in.chunk()), QString::fromUtf8(in.chunk())};
    case 12:
        return depth < 2 ? QVariantMap {{QString::fromUtf8(in.chunk()), value(in, depth + 1)}} : QVariantMap();
    case 13:
        return QVariant::fromValue(in.raw<long>());
    case 14:
        return QVariant::fromValue(in.raw<short>());
    default:
        return QPointF(in.raw<double>(), in.raw<double>());
    }
}

// Every reading the app makes of the two stores.
struct Readings {
    OverlayLoopSettings loop;
    bool usagePing = false;
    bool dismissed = false;
    bool linked = false;
    qint64 textSize = 0;
    std::vector<std::optional<QPointF>> positions;
};

Readings read(const std::shared_ptr<UserDefaults>& defaults)
{
    const OverlaySettingsStore settings(defaults);
    Readings r {settings.loopSettings(), settings.usagePingEnabled(), settings.mainWindowDismissed(),
        settings.twoBuildLinked(), settings.windowTextSizeIndex(), {}};
    const PanelPositionStore positions(defaults);
    for (PanelID panel : allPanelIDs)
        for (RepositionMode mode : allRepositionModes)
            r.positions.push_back(positions.fraction(panel, mode));
    return r;
}

bool same(const OverlayLoopSettings& a, const OverlayLoopSettings& b)
{
    return a.triggers == b.triggers && a.showPopular == b.showPopular && a.showMatchup == b.showMatchup
        && a.showGold == b.showGold && a.showCooldowns == b.showCooldowns && a.showFarm == b.showFarm
        && a.showCombos == b.showCombos && same(a.layout.insetFraction, b.layout.insetFraction)
        && same(a.layout.raiseFraction, b.layout.raiseFraction) && same(a.layout.gap, b.layout.gap)
        && a.shopKeyCode == b.shopKeyCode && a.fallbackKeyCode == b.fallbackKeyCode
        && a.cooldownFormat == b.cooldownFormat && same(a.cdPanelOpacity, b.cdPanelOpacity);
}

bool same(const Readings& a, const Readings& b)
{
    auto samePoint = [](const std::optional<QPointF>& p, const std::optional<QPointF>& q) {
        return p.has_value() == q.has_value() && (!p || (p->x() == q->x() && p->y() == q->y()));
    };
    return same(a.loop, b.loop) && a.usagePing == b.usagePing && a.dismissed == b.dismissed && a.linked == b.linked
        && a.textSize == b.textSize
        && std::equal(a.positions.begin(), a.positions.end(), b.positions.begin(), samePoint);
}

void checkReadings(const std::shared_ptr<UserDefaults>& defaults, const Readings& r)
{
    const OverlaySettingsStore settings(defaults);
    for (qint64 code : {r.loop.shopKeyCode, r.loop.fallbackKeyCode})
        require(code >= VirtualKey::minimum && code <= VirtualKey::maximum, "key codes within what keys carry");
    for (const auto& point : r.positions)
        require(!point || (std::isfinite(point->x()) && std::isfinite(point->y())), "positions are finite");
    const OverlayLoopSettings single {settings.triggers(), settings.showPopular(), settings.showMatchup(),
        settings.showGold(), settings.showCooldowns(), settings.showFarm(), settings.showCombos(), settings.layout(),
        settings.shopKeyCode(), settings.fallbackKeyCode(), settings.cooldownFormat(), settings.cdPanelOpacity()};
    require(same(r.loop, single), "the loops read what each setting reads");
    require(same(CachedLoopSettings(settings).current(), r.loop), "the cached reading is the reading");
    for (const QString& key : knownKeys()) {
        (void)defaults->boolValue(key);
        (void)defaults->integerValue(key);
        (void)defaults->doubleValue(key);
        (void)defaults->stringValue(key);
        (void)defaults->arrayValue(key);
    }
    (void)settings.matchingPreset();
}

void writeBack(const std::shared_ptr<UserDefaults>& defaults, const Readings& r)
{
    OverlaySettingsStore settings(defaults);
    settings.setTriggers(r.loop.triggers);
    settings.setShowPopular(r.loop.showPopular);
    settings.setShowMatchup(r.loop.showMatchup);
    settings.setShowGold(r.loop.showGold);
    settings.setShowCooldowns(r.loop.showCooldowns);
    settings.setShowFarm(r.loop.showFarm);
    settings.setShowCombos(r.loop.showCombos);
    settings.setLayout(r.loop.layout);
    settings.setShopKeyCode(r.loop.shopKeyCode);
    settings.setFallbackKeyCode(r.loop.fallbackKeyCode);
    settings.setCooldownFormat(r.loop.cooldownFormat);
    settings.setCdPanelOpacity(r.loop.cdPanelOpacity);
    settings.setUsagePingEnabled(r.usagePing);
    settings.setMainWindowDismissed(r.dismissed);
    settings.setTwoBuildLinked(r.linked);
    settings.setWindowTextSizeIndex(r.textSize);
    PanelPositionStore positions(defaults);
    size_t at = 0;
    for (PanelID panel : allPanelIDs)
        for (RepositionMode mode : allRepositionModes)
            if (const auto& point = r.positions[at++])
                positions.setFraction(panel, *point, mode);
}

// What was read with two changes a user makes: every other value is written back as it was read.
Readings changed(Readings r)
{
    r.loop.showFarm = !r.loop.showFarm;
    r.positions.front() = QPointF(0.25, 0.75);
    return r;
}

// The move from the older layout keeps every position it finds, and the one-time clearing
// clears every mode.
void checkPositionMoves(const std::shared_ptr<UserDefaults>& defaults)
{
    PanelPositionStore positions(defaults);
    std::vector<bool> expected;
    for (qsizetype i = 0; i < legacyKeys.size(); ++i)
        expected.push_back(
            defaults->contains(PanelPositionStore::key(allPanelIDs[size_t(i)], RepositionMode::summonersRift))
            || defaults->contains(legacyKeys[i]));
    positions.migrateIfNeeded();
    for (qsizetype i = 0; i < legacyKeys.size(); ++i)
        require(defaults->contains(PanelPositionStore::key(allPanelIDs[size_t(i)], RepositionMode::summonersRift))
                == expected[size_t(i)],
            "the move keeps every position it finds");
    const bool cleared = !defaults->boolValue(PanelPositionStore::formatFlagKey);
    positions.clearIfNewFormat();
    for (PanelID panel : allPanelIDs)
        for (RepositionMode mode : allRepositionModes)
            require(!cleared || !positions.fraction(panel, mode), "the one-time clearing clears every position");
    require(defaults->boolValue(PanelPositionStore::formatFlagKey), "the clearing is remembered");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::silenceLogs();
    if (size > 0 && data[0] == 0) {
        auto defaults = std::make_shared<InMemoryUserDefaults>();
        Reader in(data + 1, size - 1);
        while (!in.atEnd())
            defaults->set(knownKeys()[in.byte() % knownKeys().size()], value(in, 0));
        const Readings first = read(defaults);
        checkReadings(defaults, first);
        const Readings saved = changed(first);
        writeBack(defaults, saved);
        require(same(read(defaults), saved), "what was written back reads the same");
        checkPositionMoves(defaults);
        return 0;
    }

    static const QString path = fuzz::scratchFile(QStringLiteral("Tolvane.ini"));
    fuzz::writeFile(path, fuzz::bytes(data, size));
    Readings saved;
    {
        auto defaults = std::make_shared<QSettingsUserDefaults>(path);
        const Readings first = read(defaults);
        checkReadings(defaults, first);
        saved = changed(first);
        writeBack(defaults, saved);
    }
    auto reopened = std::make_shared<QSettingsUserDefaults>(path);
    require(same(read(reopened), saved), "the next launch reads what was written back, whatever the file held");
    checkPositionMoves(reopened);
    return 0;
}
