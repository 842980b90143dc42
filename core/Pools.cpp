#include "Pools.h"

namespace vindrel {

BufferPool& BufferPool::Instance() {
    static BufferPool pool;
    return pool;
}

PooledBuffer BufferPool::Acquire() {
    return PooledBuffer(AcquireObject());
}

VectorPool& VectorPool::Instance() {
    static VectorPool pool;
    return pool;
}

PooledVector VectorPool::Acquire() {
    return PooledVector(AcquireObject());
}

} // namespace vindrel
