#pragma once

// What the portable code needs from the operating system's kernel services.
// The Linux implementation is in platform/posix/.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace vindrel::platform {

// Mutual exclusion that the holder may enter again; leave as often as entered.
class RecursiveLock {
public:
    void lock() { mutex.lock(); }
    void unlock() { mutex.unlock(); }
    bool try_lock() { return mutex.try_lock(); }

private:
    std::recursive_mutex mutex;
};

// An operating-system thread that is created suspended: it runs its entry only
// after Resume, at the lowest priority of the normal class. A thread that was
// never resumed can be abandoned; its entry never runs.
class SystemThread {
public:
    using Entry = void (*)(void* parameter);

    SystemThread();
    ~SystemThread(); // joins
    SystemThread(const SystemThread&) = delete;
    SystemThread& operator=(const SystemThread&) = delete;

    bool Create(Entry entry, void* parameter);
    void SetLowestPriority();
    bool Resume();
    // Forced end for the failed-start path: a thread that was never resumed
    // ends without running its entry; a running one is left to finish.
    void Abandon();
    // Waits until the thread has ended.
    void Join();

    struct State;

private:
    std::unique_ptr<State> state;
};

void SleepMilliseconds(int milliseconds);
std::uint64_t CurrentThreadId();
// The calling thread's last system error code and the system's text for a code.
int LastSystemErrorCode();
std::u16string SystemErrorMessage(int code);

// A processor fault on the faulting thread, described with the status codes
// of the Windows build so one translation table serves both.
struct FaultRecord {
    std::uint32_t code = 0;
    std::uint32_t flags = 0;
    std::uintptr_t address = 0;
    std::uint32_t parameterCount = 0;
};

// Called on the faulting thread; it is expected to throw. When it returns, the
// fault is thrown as UntranslatedFault.
using FaultTranslator = void (*)(const FaultRecord& fault);

// Per thread; returns the previous translator. A thread without one keeps the
// default action (the process dies as it would without us).
FaultTranslator SetThreadFaultTranslator(FaultTranslator translator);

struct UntranslatedFault {
    FaultRecord fault;
};

} // namespace vindrel::platform
