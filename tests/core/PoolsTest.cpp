#include "core/Pools.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace vindrel {
namespace {

TEST(Pools, ReuseTheLowestFreeObjectWithItsOldContents) {
    SampleBuffer* first = nullptr;
    {
        PooledBuffer a = BufferPool::Instance().Acquire();
        PooledBuffer b = BufferPool::Instance().Acquire();
        EXPECT_NE(a.Get(), b.Get());
        first = a.Get();
        a->Resize(7, 1);
        a->Channel(0).SampleAt(3) = 2.5f;
    }
    PooledBuffer again = BufferPool::Instance().Acquire();
    EXPECT_EQ(again.Get(), first);
    EXPECT_EQ(again->FrameCount(), 7);
    EXPECT_EQ(again->Channel(0).SampleAt(3), 2.5f);
}

TEST(Pools, VectorPoolLendsDistinctVectorsAndReleasingForeignPointersChangesNothing) {
    PooledVector a = VectorPool::Instance().Acquire();
    ChannelVector stranger;
    VectorPool::Instance().Release(&stranger);
    PooledVector b = VectorPool::Instance().Acquire();
    EXPECT_NE(a.Get(), b.Get());
    EXPECT_NE(a.Get(), &stranger);
}

TEST(Pools, ConcurrentBorrowersNeverShareAnObject) {
    ObjectPool<ChannelVector> pool;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&pool, t] {
            for (int i = 0; i < 2000; ++i) {
                ChannelVector* v = pool.AcquireObject();
                v->Resize(1);
                v->SampleAt(0) = static_cast<float>(t);
                EXPECT_EQ(v->SampleAt(0), static_cast<float>(t));
                pool.Release(v);
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_LE(pool.Size(), 4u);
}

} // namespace
} // namespace vindrel
