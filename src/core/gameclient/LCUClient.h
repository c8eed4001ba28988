#pragma once
// The game client's local REST interface: HTTPS on 127.0.0.1 at the discovered port, Basic
// authorization with the user "riot" and the client's password, the pinned trust. Only status
// 200 counts as an answer; every failure is folded into each call's result, nothing throws.

#include "core/gameclient/ChampSelectSession.h"
#include "core/gameclient/ClientCredentials.h"
#include "core/gameclient/GameflowSession.h"
#include "core/support/Async.h"
#include "core/support/HttpSession.h"
#include "core/support/PollingStream.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QCoroTask>

namespace tolvane {

// The consumer's end of LCUClient::champSelectStream: every poll's result in order (absent when
// not in champion select or unreachable), buffered without limit.
using ChampSelectSnapshotStream = PollingStream<ChampSelectSession>;

class LCUClient {
public:
    struct ChampSelectFetch {
        enum class Kind { session, notInSelect, unreachable };
        Kind kind = Kind::unreachable;
        std::optional<ChampSelectSession> session; // present exactly for Kind::session
    };

    struct GameflowFetch {
        enum class Kind { session, notInGame, unreachable };
        Kind kind = Kind::unreachable;
        std::optional<GameflowSession> session; // present exactly for Kind::session
    };

    // The session uses the game-interface time-outs and the bundled pinned anchor.
    explicit LCUClient(ClientCredentials credentials);
    // Tests hand in their own trust and time-outs.
    LCUClient(ClientCredentials credentials, std::shared_ptr<const TlsTrustPolicy> trust, HttpTimeouts timeouts);

    // Blocking (runs "/bin/ps"): call it off the main thread. No client when the game client is
    // not running.
    static std::optional<LCUClient> discover();

    const ClientCredentials& creds() const { return shared_->creds; }
    const QString& authHeader() const { return shared_->authHeader; }

    QCoro::Task<ChampSelectFetch> champSelectFetch() const;
    QCoro::Task<GameflowFetch> gameflowFetch() const;
    QCoro::Task<std::optional<QString>> currentSummonerPuuid() const;
    QCoro::Task<std::optional<RiotId>> summonerRiotId(int64_t summonerId) const;
    QCoro::Task<std::optional<QString>> regionCode() const;
    QCoro::Task<std::optional<RiotId>> currentSummonerRiotId() const;
    QCoro::Task<std::optional<std::vector<int64_t>>> currentRunePagePerkIds() const;
    QCoro::Task<std::optional<ChampSelectSession>> champSelectSnapshot() const;
    // Polls at once and then after every pause, until the stream is cancelled or destroyed.
    std::unique_ptr<ChampSelectSnapshotStream> champSelectStream(uint64_t intervalMs) const;
    // Any path (starting with "/"), any status, no decoding; absent when no answer came.
    QCoro::Task<std::optional<HttpReply>> rawFetch(QString path) const;

    // The region code from the two fields of "/riotclient/region-locale".
    static std::optional<QString> regionCodeFrom(
        const std::optional<QString>& webRegion, const std::optional<QString>& region);

private:
    // Immutable once made; shared by copies of the client and by calls still running.
    struct Shared {
        ClientCredentials creds;
        QString authHeader;
        std::shared_ptr<HttpSession> session;
    };
    using SharedPtr = std::shared_ptr<const Shared>;

    static QCoro::Task<std::optional<HttpReply>> send(SharedPtr shared, QString path, CancelToken cancel);
    static QCoro::Task<std::optional<QByteArray>> fetchOk(SharedPtr shared, QString path);
    static QCoro::Task<ChampSelectFetch> fetchChampSelect(SharedPtr shared, CancelToken cancel);
    static QCoro::Task<std::optional<ChampSelectSession>> snapshotOf(SharedPtr shared, CancelToken cancel);
    static QCoro::Task<GameflowFetch> fetchGameflow(SharedPtr shared);

    SharedPtr shared_;
};

} // namespace tolvane
