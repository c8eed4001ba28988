#pragma once
// A Live Client Data client for tests that must find no game: it points at the process's own
// refusing port, never at the game's fixed one, where another program may answer.

#include "core/gameclient/LiveClientDataClient.h"

#include "RefusingPort.h"

namespace tolvane::test {

inline LiveClientDataClient noGameClient()
{
    return LiveClientDataClient(refusingUrl(QStringLiteral("/liveclientdata/allgamedata"), QStringLiteral("https")), nullptr);
}

} // namespace tolvane::test
