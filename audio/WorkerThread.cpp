#include "WorkerThread.h"

#include "ErrorReporting.h"
#include "platform/WarningBox.h"

#include <mutex>
#include <new>

namespace vindrel {

WorkerThread::WorkerThread(Function function) : method(std::move(function)) {
    std::lock_guard<platform::RecursiveLock> guard(lock);
    running = thread.Create(&WorkerThread::ThreadProcedure, this);
    if (running) {
        thread.SetLowestPriority();
        if (thread.Resume())
            return;
    }
    Terminate();
}

WorkerThread::~WorkerThread() {
    stopRequested.store(true, std::memory_order_release);
    // A worker waiting for its error box must not hold up the UI thread,
    // which shows that box.
    if (IsRunning())
        platform::ReleaseWarningBoxWaiters();
    // No time-out: the function may be showing an error report.
    while (IsRunning())
        platform::SleepMilliseconds(1);
    thread.Join();
}

bool WorkerThread::IsRunning() {
    std::lock_guard<platform::RecursiveLock> guard(lock);
    return running;
}

void WorkerThread::Terminate() {
    std::lock_guard<platform::RecursiveLock> guard(lock);
    thread.Abandon();
    running = false;
}

void WorkerThread::ThreadProcedure(void* parameter) {
    auto* self = static_cast<WorkerThread*>(parameter);
    {
        // Restored however the function ends.
        struct Handlers {
            platform::FaultTranslator translator =
                platform::SetThreadFaultTranslator(&TranslateStructuredException);
            std::new_handler newHandler = std::set_new_handler(&OnAllocationFailure);
            ~Handlers() {
                platform::SetThreadFaultTranslator(translator);
                std::set_new_handler(newHandler);
            }
        };
        try {
            Handlers handlers;
            self->method(*self);
        } catch (Exception::ExceptionProcessor2Error value) {
            ReportError(value);
        } catch (...) {
            ReportOtherError();
        }
    }
    std::lock_guard<platform::RecursiveLock> guard(self->lock);
    self->running = false;
}

} // namespace vindrel
