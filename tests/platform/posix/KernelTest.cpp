// The Linux kernel services behind the seam.

#include "platform/Kernel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vindrel::platform {
namespace {

struct Probe {
    std::atomic<bool> ran{false};
    std::atomic<int> nice{-100};
    std::atomic<std::uint64_t> id{0};
};

void Record(void* parameter) {
    auto* probe = static_cast<Probe*>(parameter);
    errno = 0;
    probe->nice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    probe->id = CurrentThreadId();
    probe->ran = true;
}

TEST(SystemThread, RunsOnlyAfterResumeAtTheLowestPriority) {
    const int ourNice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    Probe probe;
    SystemThread thread;
    ASSERT_TRUE(thread.Create(Record, &probe));
    thread.SetLowestPriority();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(probe.ran); // created suspended
    ASSERT_TRUE(thread.Resume());
    thread.Join();
    EXPECT_TRUE(probe.ran);
    EXPECT_EQ(probe.nice.load(), 19);
    EXPECT_NE(probe.id.load(), CurrentThreadId());
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid))), ourNice)
        << "only the worker is lowered, not the process";
}

TEST(SystemThread, AbandonedBeforeResumeNeverRuns) {
    Probe probe;
    {
        SystemThread thread;
        ASSERT_TRUE(thread.Create(Record, &probe));
        thread.Abandon();
        EXPECT_FALSE(thread.Resume());
    }
    SystemThread neverResumed; // destroyed without Resume: must not hang
    ASSERT_TRUE(neverResumed.Create(Record, &probe));
    EXPECT_FALSE(probe.ran);
}

TEST(RecursiveLock, TheHolderMayEnterAgain) {
    RecursiveLock lock;
    std::lock_guard<RecursiveLock> outer(lock);
    std::lock_guard<RecursiveLock> inner(lock);
    bool otherGotIt = true;
    std::thread([&] { otherGotIt = lock.try_lock(); }).join();
    EXPECT_FALSE(otherGotIt);
}

TEST(Kernel, SleepAndErrorTexts) {
    const auto start = std::chrono::steady_clock::now();
    SleepMilliseconds(1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1));
    errno = ENOENT;
    EXPECT_EQ(LastSystemErrorCode(), ENOENT);
    EXPECT_EQ(SystemErrorMessage(ENOENT), u"No such file or directory");
    EXPECT_EQ(SystemErrorMessage(0), u"Success");
}

} // namespace
} // namespace vindrel::platform
