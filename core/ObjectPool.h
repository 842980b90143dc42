#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace vindrel {

// Lends objects out and takes them back. It only grows: every object it ever
// made stays for reuse, so steady borrowing allocates nothing. Objects come
// back as the previous borrower left them.
template <typename T> class ObjectPool {
public:
    ObjectPool() = default;
    ObjectPool(const ObjectPool&) = delete;
    ObjectPool& operator=(const ObjectPool&) = delete;
    ~ObjectPool() {
        for (T* entry : entries)
            delete entry;
    }

    // Lowest free entry, made anew when all are lent out.
    T* AcquireObject() {
        std::lock_guard<std::mutex> guard(lock);
        std::size_t i = 0;
        while (i < inUse.size() && inUse[i] != 0)
            ++i;
        if (i == inUse.size()) {
            entries.reserve(entries.size() + 1);
            inUse.reserve(inUse.size() + 1);
            entries.push_back(new T());
            inUse.push_back(0);
        }
        inUse[i] = 1;
        return entries[i];
    }

    // A pointer the pool never lent changes nothing.
    void Release(T* object) {
        std::lock_guard<std::mutex> guard(lock);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i] == object) {
                inUse[i] = 0;
                return;
            }
        }
    }

    std::size_t Size() {
        std::lock_guard<std::mutex> guard(lock);
        return entries.size();
    }

private:
    std::mutex lock;
    std::vector<T*> entries;
    std::vector<std::uint8_t> inUse;
};

// Base of the scoped handles that give a borrowed object back.
class PoolHandle {
public:
    PoolHandle() = default;
    PoolHandle(const PoolHandle&) = delete;
    PoolHandle& operator=(const PoolHandle&) = delete;
    virtual ~PoolHandle() = default;
};

} // namespace vindrel
