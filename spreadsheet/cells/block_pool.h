#pragma once
// Recycled memory for automation objects made by the thousand, such as the Range a
// transfer asks for at every cell. Objects are made with std::allocate_shared and a
// PoolAllocator: a freed block of the size the pool serves is kept for the next object instead
// of going back to the heap. Every allocator copy, and so every control block, shares ownership
// of the pool, so it outlives the last object however the objects and their maker end.
//
// Thread rule: a pool recycles only on the thread that made it (the application's); an object
// freed on another thread (its last reference dropped there) goes straight back to the heap.

#include <cstddef>
#include <memory>
#include <thread>

namespace tabulix::spreadsheet {

class BlockPool {
public:
    BlockPool();
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    void* allocate(std::size_t bytes);
    void deallocate(void* block, std::size_t bytes) noexcept;

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    // Enough for the objects alive at once in any one pass; more go back to the heap.
    static constexpr std::size_t kMaxKept = 64;

    const std::thread::id owner_;
    std::size_t blockSize_ = 0;  // the size of the first request; others go to the heap
    FreeBlock* free_ = nullptr;
    std::size_t kept_ = 0;
};

template <class T>
class PoolAllocator {
public:
    using value_type = T;

    explicit PoolAllocator(std::shared_ptr<BlockPool> pool) : pool_(std::move(pool)) {}
    template <class U>
    PoolAllocator(const PoolAllocator<U>& other) : pool_(other.pool_) {}

    T* allocate(std::size_t n) { return static_cast<T*>(pool_->allocate(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { pool_->deallocate(p, n * sizeof(T)); }

    template <class U>
    bool operator==(const PoolAllocator<U>& other) const {
        return pool_ == other.pool_;
    }

private:
    template <class U>
    friend class PoolAllocator;
    std::shared_ptr<BlockPool> pool_;
};

}  // namespace tabulix::spreadsheet
