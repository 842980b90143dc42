#pragma once

#include "platform/Kernel.h"

#include <atomic>
#include <functional>

namespace vindrel {

// Runs one long-running function of an owner on its own thread at the lowest
// priority. The function polls `stopRequested`; destruction asks it to stop
// and waits until the thread no longer touches this object. Errors escaping
// the function are reported in a warning box and end only this thread.
class WorkerThread {
public:
    using Function = std::function<void(WorkerThread&)>;

    // Creates and starts the thread; if that fails, the object comes back
    // finished (IsRunning false).
    explicit WorkerThread(Function method);
    template <typename Owner>
    WorkerThread(Owner* owner, void (Owner::*method)(WorkerThread&))
        : WorkerThread(Function([owner, method](WorkerThread& w) { (owner->*method)(w); })) {}
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    bool IsRunning();
    // Forced end, for the failed-start path only.
    void Terminate();

    std::atomic<bool> stopRequested{false};

private:
    static void ThreadProcedure(void* parameter);

    Function method;
    platform::SystemThread thread;
    bool running = false; // the "handle": set while the thread may touch us
    platform::RecursiveLock lock;
};

} // namespace vindrel
