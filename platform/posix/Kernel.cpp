#include "platform/Kernel.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <mutex>
#include <thread>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include "core/Utf.h"

namespace vindrel::platform {

struct SystemThread::State {
    std::mutex mutex;
    std::condition_variable wake;
    bool resumed = false;
    bool abandoned = false;
    bool lowestPriority = false;
    Entry entry = nullptr;
    void* parameter = nullptr;
    std::thread thread;
};

namespace {

void RunThread(SystemThread::State* state) {
    {
        std::unique_lock<std::mutex> lock(state->mutex);
        state->wake.wait(lock, [&] { return state->resumed || state->abandoned; });
        if (state->abandoned)
            return;
    }
    // nice 19 for this thread only; SCHED_IDLE would starve under load.
    if (state->lowestPriority)
        setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
    state->entry(state->parameter);
}

} // namespace

SystemThread::SystemThread() = default;

SystemThread::~SystemThread() {
    Abandon();
    Join();
}

bool SystemThread::Create(Entry entry, void* parameter) {
    if (state)
        return false;
    auto fresh = std::make_unique<State>();
    fresh->entry = entry;
    fresh->parameter = parameter;
    try {
        fresh->thread = std::thread(RunThread, fresh.get());
    } catch (const std::system_error&) {
        return false;
    }
    state = std::move(fresh);
    return true;
}

void SystemThread::SetLowestPriority() {
    if (!state)
        return;
    std::lock_guard<std::mutex> lock(state->mutex);
    state->lowestPriority = true;
}

bool SystemThread::Resume() {
    if (!state)
        return false;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        if (state->abandoned)
            return false;
        state->resumed = true;
    }
    state->wake.notify_all();
    return true;
}

void SystemThread::Abandon() {
    if (!state)
        return;
    bool resumed;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        resumed = state->resumed;
        if (!resumed)
            state->abandoned = true;
    }
    state->wake.notify_all();
    // A running thread cannot be killed safely here; it is joined at destruction.
    if (!resumed)
        Join();
}

void SystemThread::Join() {
    if (!state)
        return;
    if (state->thread.get_id() == std::this_thread::get_id()) {
        state->thread.detach(); // a thread cannot wait for itself
        (void)state.release();
        return;
    }
    if (state->thread.joinable())
        state->thread.join();
    state.reset();
}

void SleepMilliseconds(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint64_t CurrentThreadId() {
    return static_cast<std::uint64_t>(syscall(SYS_gettid));
}

int LastSystemErrorCode() {
    return errno;
}

std::u16string SystemErrorMessage(int code) {
    char text[256] = {};
    // GNU strerror_r returns the text, which may or may not be in our buffer.
    const char* message = strerror_r(code, text, sizeof text);
    return FromUtf8(message != nullptr ? message : "");
}

} // namespace vindrel::platform
