#include "audio/WorkerThread.h"

#include "audio/ErrorReporting.h"
#include "platform/WarningBox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace vindrel {
namespace {

// Captures the warning boxes for the length of a test.
class Reports {
public:
    Reports() {
        previous = platform::SetWarningBoxHandler(
            [this](const std::u16string& caption, const std::u16string& text) {
                std::lock_guard<std::mutex> lock(mutex);
                texts.push_back(caption + u"|" + text);
            });
    }
    ~Reports() { platform::SetWarningBoxHandler(previous); }
    std::vector<std::u16string> Texts() {
        std::lock_guard<std::mutex> lock(mutex);
        return texts;
    }

private:
    platform::WarningBoxHandler previous;
    std::mutex mutex;
    std::vector<std::u16string> texts;
};

// Runs a function on a worker and waits until the worker has finished.
void RunOnWorker(std::function<void()> body) {
    WorkerThread worker([&](WorkerThread&) { body(); });
    while (worker.IsRunning())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool StartsWith(const std::u16string& s, const std::u16string& prefix) {
    return s.rfind(prefix, 0) == 0;
}

TEST(WorkerThread, DestroyAfterReturnIsImmediate) {
    std::atomic<bool> ran{false};
    WorkerThread worker([&](WorkerThread&) { ran = true; });
    while (worker.IsRunning())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(ran);
}

TEST(WorkerThread, DestructionWaitsForAFunctionThatIgnoresTheRequest) {
    std::atomic<bool> finished{false};
    {
        WorkerThread worker([&](WorkerThread&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            finished = true;
        });
    }
    EXPECT_TRUE(finished);
}

TEST(WorkerThread, StopRequestEndsAPollingFunction) {
    std::atomic<int> polls{0};
    {
        WorkerThread worker([&](WorkerThread& self) {
            while (!self.stopRequested)
                ++polls, std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        while (polls == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GT(polls.load(), 0);
}

TEST(WorkerThread, ThrownErrorValueIsReported) {
    Reports reports;
    errno = 0;
    RunOnWorker([] { throw Exception::MemoryAccess; });
    ASSERT_EQ(reports.Texts().size(), 1u);
    EXPECT_TRUE(StartsWith(reports.Texts()[0],
                           u"Exception|The memory unlawful computer access error occurred.\r\n"
                           u"Immediately save the date with another name and restart the "
                           u"application.\r\n"));
}

TEST(WorkerThread, OtherExceptionsGetTheGeneralReport) {
    Reports reports;
    RunOnWorker([] { throw std::runtime_error("boom"); });
    ASSERT_EQ(reports.Texts().size(), 1u);
    EXPECT_TRUE(StartsWith(reports.Texts()[0],
                           u"Exception|An error has occurred. The command will be cancelled."
                           u"\r\n\r\nImmediately save the date"));
}

TEST(WorkerThread, TranslationThroughTheCatalog) {
    Reports reports;
    MessageCatalog::Instance().AddTable(u"Text", {{u"OS error occurred.", u"Other text."}});
    RunOnWorker([] { throw Exception::OperatingSystem; });
    MessageCatalog::Instance().Clear();
    ASSERT_EQ(reports.Texts().size(), 1u);
    EXPECT_TRUE(StartsWith(reports.Texts()[0], u"Exception|Other text.\r\n"));
}

TEST(WorkerThread, AbandonedStartIsFinished) {
    platform::SystemThread thread;
    std::atomic<bool> ran{false};
    ASSERT_TRUE(
        thread.Create([](void* p) { static_cast<std::atomic<bool>*>(p)->store(true); }, &ran));
    thread.Abandon();
    EXPECT_FALSE(ran);
    WorkerThread worker([](WorkerThread&) {});
    worker.Terminate();
    EXPECT_FALSE(worker.IsRunning());
}

// Real processor faults on a worker. The sanitizers' own checks would stop
// these first, so the faulting functions opt out of them.
__attribute__((noinline, no_sanitize("address", "undefined"))) int ReadThrough(volatile int* p) {
    return *p;
}

__attribute__((noinline, no_sanitize("undefined"))) int Divide(int a, int b) {
    volatile int numerator = a, denominator = b;
    return numerator / denominator;
}

// Results go here so the compiler cannot drop the faulting work.
volatile int sink = 0;
char* volatile allocationSink = nullptr;

struct Guarded {
    std::mutex& mutex;
    explicit Guarded(std::mutex& m) : mutex(m) { mutex.lock(); }
    ~Guarded() { mutex.unlock(); }
};

TEST(WorkerFaults, NullDereferenceIsReportedAndReleasesLocks) {
    Reports reports;
    std::mutex renderLock;
    for (int round = 0; round < 2; ++round) { // repeated faults keep working
        RunOnWorker([&] {
            Guarded guard(renderLock);
            volatile int* nowhere = nullptr;
            ReadThrough(nowhere);
        });
        ASSERT_TRUE(renderLock.try_lock()) << "the lock was not released on the way out";
        renderLock.unlock();
    }
    const auto texts = reports.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(StartsWith(texts[0], u"Exception|The memory unlawful computer access error "
                                     u"occurred.\r\n"));
    EXPECT_NE(texts[0].find(u"ExceptionCode: C0000005, "), std::u16string::npos);
}

TEST(WorkerFaults, IntegerDivisionByZero) {
    Reports reports;
    RunOnWorker([] { sink = Divide(1, 0); });
    ASSERT_EQ(reports.Texts().size(), 1u);
    EXPECT_TRUE(
        StartsWith(reports.Texts()[0], u"Exception|The operation result error occurred.\r\n"));
    EXPECT_NE(reports.Texts()[0].find(u"ExceptionCode: C0000094"), std::u16string::npos);
}

TEST(WorkerFaults, FailedAllocation) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer's allocator reports the failure itself";
#endif
    Reports reports;
    RunOnWorker([] {
        volatile std::size_t huge = std::size_t{1} << 60;
        allocationSink = new char[huge];
        delete[] allocationSink;
    });
    ASSERT_EQ(reports.Texts().size(), 1u);
    EXPECT_TRUE(
        StartsWith(reports.Texts()[0], u"Exception|The memory allocating error occurred.\r\n"));
}

} // namespace
} // namespace vindrel
