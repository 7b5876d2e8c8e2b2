#include "framework/pending_files.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>

namespace tabulix::framework {

namespace {

enum State : int { kFree, kFilling, kListed, kRemoving };

// A slot is filled only while free and read by the handler only while listed; a slot the
// handler has taken is never reused, so the handler never reads a name being overwritten.
struct Slot {
    std::atomic<int> state{kFree};
    int folder = AT_FDCWD;
    char name[PATH_MAX] = {};
};

constexpr std::size_t kSlots = 128;

std::array<Slot, kSlots>& slots() {
    static std::array<Slot, kSlots> table;
    return table;
}

// The removers of other copies of this table; a slot once set never changes.
std::array<std::atomic<void (*)() noexcept>, 4> otherRemovers;

}  // namespace

PendingFile::PendingFile(int folder, const std::string& name) : slot_(-1) {
    if (name.empty() || name.size() >= PATH_MAX) return;
    auto& table = slots();
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!table[i].state.compare_exchange_strong(expected, kFilling)) continue;
        table[i].folder = folder;
        std::memcpy(table[i].name, name.c_str(), name.size() + 1);
        table[i].state.store(kListed);
        slot_ = static_cast<int>(i);
        return;
    }
}

PendingFile::~PendingFile() {
    if (slot_ < 0) return;
    std::atomic<int>& state = slots()[static_cast<std::size_t>(slot_)].state;
    // A handler removing the file on another thread gives the slot back when it is done.
    for (int expected = kListed; !state.compare_exchange_weak(expected, kFree); expected = kListed)
        if (expected != kRemoving && expected != kListed) return;
}

void RemovePendingFiles() noexcept {
    for (Slot& slot : slots()) {
        int expected = kListed;
        if (slot.state.compare_exchange_strong(expected, kRemoving)) {
            ::unlinkat(slot.folder, slot.name, 0);
            slot.state.store(kListed);
        }
    }
    for (auto& remover : otherRemovers)
        if (auto* remove = remover.load()) remove();
}

void AlsoRemovePendingFilesWith(void (*remover)() noexcept) {
    if (!remover || remover == &RemovePendingFiles) return;
    for (auto& slot : otherRemovers) {
        void (*expected)() noexcept = nullptr;
        if (slot.compare_exchange_strong(expected, remover) || expected == remover) return;
    }
}

}  // namespace tabulix::framework
