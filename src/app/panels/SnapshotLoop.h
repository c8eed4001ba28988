#pragma once
// The loop every overlay view model runs over its snapshot stream: take the next element and
// handle it, one at a time on the main thread, until the model or its stream is gone.

#include "core/gameclient/LiveClientDataClient.h"

#include <QPointer>

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

#include <QCoroTask>

namespace tolvane {

// handle is a member function of Model taking the element; when it returns a task, that task is
// awaited before the next element is taken (later snapshots wait in the stream meanwhile).
template <class Model, class Handle>
QCoro::Task<void> followSnapshots(QPointer<Model> self, LiveSnapshotStream* stream, Handle handle)
{
    const QPointer<PollingStreamBase> alive(stream);
    while (self && alive) {
        std::optional<std::optional<AllGameData>> element = co_await stream->next();
        if (!self || !element)
            co_return;
        using Result = std::invoke_result_t<Handle, Model&, std::optional<AllGameData>>;
        if constexpr (std::is_void_v<Result>)
            std::invoke(handle, *self, std::move(*element));
        else
            co_await std::invoke(handle, *self, std::move(*element));
    }
}

} // namespace tolvane
