#include "app/panels/ComboViewModel.h"

#include "app/panels/SnapshotLoop.h"
#include "core/advice/MetaQuery.h"
#include "core/knowledge/ResolvedSelf.h"

namespace tolvane {

namespace {

constexpr uint64_t pollIntervalMs = 2000;

} // namespace

ComboViewModel::ComboViewModel(std::shared_ptr<ComboProvider> provider, LiveClientDataClient client,
    ChampionCatalogLoader champLoader, Clock clock, QObject* parent)
    : QObject(parent)
    , client_(std::move(client))
    , provider_(std::move(provider))
    , champLoader_(std::move(champLoader))
    , clock_(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); }))
{
}

ComboViewModel::~ComboViewModel() = default;

void ComboViewModel::start()
{
    if (started_)
        return;
    started_ = true;
    run(QPointer<ComboViewModel>(this));
}

QCoro::Task<void> ComboViewModel::run(QPointer<ComboViewModel> self)
{
    if (!self)
        co_return;
    co_await self->loadCatalog();
    if (!self)
        co_return;
    self->stream_ = self->client_.stream(pollIntervalMs);
    co_await followSnapshots(self, self->stream_.get(), &ComboViewModel::handle);
}

QCoro::Task<void> ComboViewModel::loadCatalog()
{
    const QPointer<ComboViewModel> self(this);
    ChampionCatalog catalog = co_await champLoader_.load();
    if (!self)
        co_return;
    catalog_ = std::move(catalog);
}

QCoro::Task<void> ComboViewModel::handle(std::optional<AllGameData> data)
{
    if (!data) {
        setInGame(false);
        setCombos(std::nullopt);
        setChampion(std::nullopt);
        fetchedChampion_.reset();
        lastAttempt_.reset();
        co_return;
    }
    setInGame(true);
    const std::optional<ResolvedSelf> you = ResolvedSelf::resolve(*data);
    if (!you)
        co_return;
    const QString name = you->championName;
    if (fetchedChampion_ == name)
        co_return;

    if (resolveMetaMode(data->gameData.gameMode, data->gameData.mapNumber).kind != MetaModeRoute::Kind::summonersRift) {
        // Combos are a lane matter: no request in any other mode for the rest of the match.
        setCombos(std::nullopt);
        setChampion(name);
        fetchedChampion_ = name;
        co_return;
    }

    MetaRole role = metaRoleFromLivePosition(you->position);
    if (role == MetaRole::unknown) {
        if (const auto found = catalog_.byName.find(name); found != catalog_.byName.end())
            role = metaRoleInferredFromTags(std::vector<QString>(found->second.tags.begin(), found->second.tags.end()));
    }
    if (role == MetaRole::unknown)
        co_return;

    const auto now = clock_();
    if (lastAttempt_ && now - *lastAttempt_ < retrySpacing)
        co_return;
    lastAttempt_ = now;

    const QPointer<ComboViewModel> self(this);
    // Held here so that the call may outlive the view model.
    const std::shared_ptr<ComboProvider> provider = provider_;
    std::optional<std::vector<ChampionCombo>> answer
        = co_await provider->fetchCombos(name, MetaQuery::summonersRift(role, false));
    if (!self || !inGame_)
        co_return;
    // No answer: asked again once the spacing has passed.
    if (!answer)
        co_return;
    setCombos(std::move(answer));
    setChampion(name);
    fetchedChampion_ = name;
}

void ComboViewModel::setCombos(std::optional<std::vector<ChampionCombo>> combos)
{
    combos_ = std::move(combos);
    emit changed();
}

void ComboViewModel::setChampion(std::optional<QString> champion)
{
    champion_ = std::move(champion);
    emit changed();
}

void ComboViewModel::setInGame(bool inGame)
{
    inGame_ = inGame;
    emit changed();
}

} // namespace tolvane
