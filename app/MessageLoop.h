#pragma once

#include "platform/Kernel.h"
#include "platform/Ui.h"

#include <cstdint>
#include <map>
#include <vector>

namespace vindrel {

// Sees every message of the thread's loop before the toolkit handles it.
class PreDispatchHook {
public:
    virtual ~PreDispatchHook() = default;
    // True consumes the message.
    virtual bool preDispatch(const platform::Message& message) = 0;
};

// Runs once each time the queue runs empty after a re-arming message.
class IdleHook {
public:
    virtual ~IdleHook() = default;
    virtual bool runIdle() = 0;
};

// One per UI thread: the hooks, and the rules for when idle processing runs.
class ThreadMessageLoop : public platform::LoopCallbacks {
public:
    explicit ThreadMessageLoop(platform::UiServices& ui) : ui(ui) {}

    void addPreDispatchHook(PreDispatchHook& hook) { preDispatchHooks.push_back(&hook); }
    void addIdleHook(IdleHook& hook) { idleHooks.push_back(&hook); }
    void removePreDispatchHook(PreDispatchHook& hook);
    void removeIdleHook(IdleHook& hook);

    // Pumps messages until the quit request; returns its code.
    int run();

    // The toolkit's side of run().
    void OnAnyMessage(platform::MessageKind kind) override;
    bool OnMessage(const platform::Message& message) override;
    void OnQueueEmpty() override;

    // Mouse moves, paints and the caret timer do not re-arm idle processing.
    static bool Rearms(platform::MessageKind kind);

private:
    platform::UiServices& ui;
    std::vector<PreDispatchHook*> preDispatchHooks;
    std::vector<IdleHook*> idleHooks;
    bool idle = false;
};

// Which loop belongs to which thread; entries are added and removed by the
// thread that owns the loop.
class LoopRegistry {
public:
    static LoopRegistry& Instance();
    void registerLoop(ThreadMessageLoop& loop);
    void unregisterLoop();
    ThreadMessageLoop* loopForCurrentThread();

private:
    platform::RecursiveLock lock;
    std::map<std::uint64_t, ThreadMessageLoop*> loops;
};

} // namespace vindrel
