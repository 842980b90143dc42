#include "MessageLoop.h"

#include <algorithm>
#include <mutex>

namespace vindrel {

namespace {

template <typename T> void RemoveFirst(std::vector<T*>& list, T* item) {
    const auto found = std::find(list.begin(), list.end(), item);
    if (found != list.end())
        list.erase(found);
}

} // namespace

void ThreadMessageLoop::removePreDispatchHook(PreDispatchHook& hook) {
    RemoveFirst(preDispatchHooks, &hook);
}

void ThreadMessageLoop::removeIdleHook(IdleHook& hook) {
    RemoveFirst(idleHooks, &hook);
}

int ThreadMessageLoop::run() {
    idle = true;
    return ui.RunLoop(*this);
}

bool ThreadMessageLoop::Rearms(platform::MessageKind kind) {
    using platform::MessageKind;
    return kind != MessageKind::MouseMove && kind != MessageKind::NonClientMouseMove &&
           kind != MessageKind::Paint && kind != MessageKind::CaretTimer;
}

void ThreadMessageLoop::OnAnyMessage(platform::MessageKind kind) {
    if (Rearms(kind))
        idle = true;
}

bool ThreadMessageLoop::OnMessage(const platform::Message& message) {
    // Newest hook first; a hook may remove itself (or others) while asked.
    for (std::size_t i = preDispatchHooks.size(); i-- > 0;) {
        if (i >= preDispatchHooks.size())
            continue;
        PreDispatchHook* hook = preDispatchHooks[i];
        if (hook != nullptr && hook->preDispatch(message))
            return true;
    }
    return false;
}

void ThreadMessageLoop::OnQueueEmpty() {
    if (!idle)
        return;
    // Each idle period runs every idle hook exactly once.
    const std::vector<IdleHook*> hooks = idleHooks;
    for (IdleHook* hook : hooks)
        if (hook != nullptr)
            hook->runIdle();
    idle = false;
}

LoopRegistry& LoopRegistry::Instance() {
    static LoopRegistry registry;
    return registry;
}

void LoopRegistry::registerLoop(ThreadMessageLoop& loop) {
    std::lock_guard<platform::RecursiveLock> guard(lock);
    loops[platform::CurrentThreadId()] = &loop;
}

void LoopRegistry::unregisterLoop() {
    std::lock_guard<platform::RecursiveLock> guard(lock);
    loops.erase(platform::CurrentThreadId());
}

ThreadMessageLoop* LoopRegistry::loopForCurrentThread() {
    std::lock_guard<platform::RecursiveLock> guard(lock);
    const auto found = loops.find(platform::CurrentThreadId());
    return found != loops.end() ? found->second : nullptr;
}

} // namespace vindrel
