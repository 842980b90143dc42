#pragma once

#include "ChannelVector.h"
#include "ObjectPool.h"
#include "SampleBuffer.h"

namespace vindrel {

class PooledBuffer;
class PooledVector;

// Process-wide pool of scratch SampleBuffers, made on first use.
class BufferPool : public ObjectPool<SampleBuffer> {
public:
    static BufferPool& Instance();
    PooledBuffer Acquire();
};

// Process-wide pool of scratch ChannelVectors, made on first use.
class VectorPool : public ObjectPool<ChannelVector> {
public:
    static VectorPool& Instance();
    PooledVector Acquire();
};

class PooledBuffer : public PoolHandle {
public:
    explicit PooledBuffer(SampleBuffer* object) : object(object) {}
    ~PooledBuffer() override { BufferPool::Instance().Release(object); }
    SampleBuffer& operator*() const { return *object; }
    SampleBuffer* operator->() const { return object; }
    SampleBuffer* Get() const { return object; }

private:
    SampleBuffer* object;
};

class PooledVector : public PoolHandle {
public:
    explicit PooledVector(ChannelVector* object) : object(object) {}
    ~PooledVector() override { VectorPool::Instance().Release(object); }
    ChannelVector& operator*() const { return *object; }
    ChannelVector* operator->() const { return object; }
    ChannelVector* Get() const { return object; }

private:
    ChannelVector* object;
};

} // namespace vindrel
