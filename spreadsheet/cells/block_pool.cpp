#include "spreadsheet/cells/block_pool.h"

#include <new>

namespace tabulix::spreadsheet {

BlockPool::BlockPool() : owner_(std::this_thread::get_id()) {}

BlockPool::~BlockPool() {
    while (free_) {
        FreeBlock* next = free_->next;
        ::operator delete(free_);
        free_ = next;
    }
}

void* BlockPool::allocate(std::size_t bytes) {
    if (std::this_thread::get_id() != owner_) return ::operator new(bytes);
    if (blockSize_ == 0 && bytes >= sizeof(FreeBlock)) blockSize_ = bytes;
    if (bytes == blockSize_ && free_) {
        FreeBlock* block = free_;
        free_ = block->next;
        --kept_;
        return block;
    }
    return ::operator new(bytes);
}

void BlockPool::deallocate(void* block, std::size_t bytes) noexcept {
    if (std::this_thread::get_id() != owner_ || bytes != blockSize_ || kept_ == kMaxKept) {
        ::operator delete(block);
        return;
    }
    free_ = new (block) FreeBlock{free_};
    ++kept_;
}

}  // namespace tabulix::spreadsheet
