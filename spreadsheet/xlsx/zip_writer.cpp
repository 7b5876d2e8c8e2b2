#include "zip_writer.h"

#include <libdeflate.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "automation/automation_error.h"
#include "deflate_chunks.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;

namespace {

// Chunks handed over and not yet written: enough for both threads to compress one while the
// caller writes the next; more would only hold more memory.
constexpr std::size_t kMaxQueued = 4;
constexpr std::uint64_t kZip32Limit = 0xFFFFFFFFu;
// 1980-01-01 00:00, the earliest time a zip entry records: the same workbook saved twice gives
// the same file.
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = (1 << 5) | 1;

void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint64_t v) {
    put16(out, static_cast<std::uint32_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint32_t>((v >> 16) & 0xFFFF));
}

}  // namespace

ZipWriter::ZipWriter(int fd, int level) : fd_(fd), level_(level), deflater_(std::make_unique<ChunkDeflater>(level)) {
    worker_ = std::thread([this] { run(); });
}

ZipWriter::~ZipWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void ZipWriter::beginPart(std::string name) { submit({Job::Kind::Begin, std::move(name), {}}); }

void ZipWriter::write(std::string& chunk) {
    if (chunk.empty()) return;
    std::string next;
    {
        std::lock_guard lock(mutex_);
        if (!spare_.empty()) {
            next = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    submit({Job::Kind::Data, std::move(chunk), {}});
    next.clear();
    chunk = std::move(next);
}

void ZipWriter::endPart() { submit({Job::Kind::End, {}, {}}); }

void ZipWriter::submit(Job job) {
    std::unique_lock lock(mutex_);
    // With the queue full the caller compresses a waiting chunk itself rather than wait idle.
    while (jobs_.size() >= kMaxQueued && !failure_) {
        if (Job* waiting = waitingJob()) {
            if (!callerDeflater_) callerDeflater_ = std::make_unique<ChunkDeflater>(level_);
            compress(*waiting, *callerDeflater_, lock);
        } else {
            changed_.wait(lock);
        }
    }
    if (failure_) {
        lock.unlock();
        rethrowFailure();
    }
    jobs_.push_back(std::make_unique<Job>(std::move(job)));
    changed_.notify_all();
}

ZipWriter::Job* ZipWriter::waitingJob() {
    for (const auto& job : jobs_)
        if (job->needsCompressing() && job->state == Job::State::Waiting) return job.get();
    return nullptr;
}

void ZipWriter::compress(Job& job, ChunkDeflater& deflater, std::unique_lock<std::mutex>& lock) {
    job.state = Job::State::Compressing;
    lock.unlock();
    try {
        deflater.compress(job.payload.data(), job.payload.size(), job.kind == Job::Kind::End, job.compressed);
    } catch (...) {
        lock.lock();
        failure_ = std::current_exception();
    }
    if (!lock.owns_lock()) lock.lock();
    // A failed job counts as done too: after a failure nothing more is written, only dropped.
    job.state = Job::State::Compressed;
    changed_.notify_all();
}

bool ZipWriter::frontReady() const {
    return !jobs_.empty() && (!jobs_.front()->needsCompressing() || jobs_.front()->state == Job::State::Compressed);
}

void ZipWriter::rethrowFailure() {
    try {
        std::rethrow_exception(failure_);
    } catch (const AutomationError&) {
        throw;
    } catch (const std::exception& e) {
        throw AutomationError(std::string("the file cannot be written: ") + e.what());
    }
}

// The second thread writes whatever is next in file order as soon as it is ready, and otherwise
// compresses the oldest waiting chunk. After a failure it only empties the queue.
void ZipWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] {
            return frontReady() || waitingJob() || (stopping_ && jobs_.empty()) || (failure_ && !jobs_.empty());
        });
        if (failure_ && !jobs_.empty()) {
            // Jobs being compressed by the caller stay until it is done with them.
            while (frontReady() || (!jobs_.empty() && jobs_.front()->state == Job::State::Waiting)) jobs_.pop_front();
            changed_.notify_all();
            if (!jobs_.empty()) changed_.wait(lock);
            continue;
        }
        if (frontReady()) {
            std::unique_ptr<Job> job = std::move(jobs_.front());
            jobs_.pop_front();
            storing_ = true;
            lock.unlock();
            try {
                store(*job);
            } catch (...) {
                lock.lock();
                failure_ = std::current_exception();
                storing_ = false;
                changed_.notify_all();
                continue;
            }
            lock.lock();
            storing_ = false;
            if (job->kind == Job::Kind::Data && spare_.size() < kMaxQueued) spare_.push_back(std::move(job->payload));
            changed_.notify_all();
        } else if (Job* waiting = waitingJob()) {
            compress(*waiting, *deflater_, lock);
        } else {
            return;  // stopping, nothing left
        }
    }
}

void ZipWriter::store(Job& job) {
    switch (job.kind) {
        case Job::Kind::Begin: {
            Entry& entry = entries_.emplace_back();
            entry.name = std::move(job.payload);
            entry.offset = written_;
            // Sizes and checksum are filled in when the part ends.
            std::string header;
            put32(header, 0x04034b50);
            put16(header, 20);  // version needed: deflate
            put16(header, 0);   // flags
            put16(header, 8);   // deflate
            put16(header, kDosTime);
            put16(header, kDosDate);
            put32(header, 0);
            put32(header, 0);
            put32(header, 0);
            put16(header, static_cast<std::uint32_t>(entry.name.size()));
            put16(header, 0);
            header += entry.name;
            writeBytes(header.data(), header.size());
            break;
        }
        case Job::Kind::Data:
        case Job::Kind::End: {
            Entry& entry = entries_.back();
            entry.crc = libdeflate_crc32(entry.crc, job.payload.data(), job.payload.size());
            entry.size += job.payload.size();
            entry.compressed += job.compressed.size();
            writeBytes(job.compressed.data(), job.compressed.size());
            if (job.kind != Job::Kind::End) break;
            if (entry.size > kZip32Limit || entry.compressed > kZip32Limit)
                throw AutomationError("the part " + entry.name + " is larger than a workbook file can hold (4 GiB)");
            std::string sizes;
            put32(sizes, entry.crc);
            put32(sizes, entry.compressed);
            put32(sizes, entry.size);
            if (::pwrite(fd_, sizes.data(), sizes.size(), static_cast<off_t>(entry.offset + 14)) !=
                static_cast<ssize_t>(sizes.size()))
                throw AutomationError(std::string("the file cannot be written: ") + std::strerror(errno));
            break;
        }
    }
}

void ZipWriter::writeBytes(const void* data, std::size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, at, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw AutomationError(std::string("the file cannot be written: ") + std::strerror(errno));
        }
        at += n;
        size -= static_cast<std::size_t>(n);
        written_ += static_cast<std::uint64_t>(n);
    }
}

void ZipWriter::finish() {
    {
        std::unique_lock lock(mutex_);
        // The caller helps with what is left while the second thread writes it out.
        for (;;) {
            if (failure_ || (jobs_.empty() && !storing_)) break;
            if (Job* waiting = waitingJob()) {
                if (!callerDeflater_) callerDeflater_ = std::make_unique<ChunkDeflater>(level_);
                compress(*waiting, *callerDeflater_, lock);
            } else {
                changed_.wait(lock);
            }
        }
    }
    if (failure_) rethrowFailure();
    std::string directory;
    for (const Entry& entry : entries_) {
        if (entry.offset > kZip32Limit) throw AutomationError("the workbook is larger than a workbook file can hold (4 GiB)");
        put32(directory, 0x02014b50);
        put16(directory, 20);  // made by: MS-DOS attributes, version 2.0
        put16(directory, 20);
        put16(directory, 0);
        put16(directory, 8);
        put16(directory, kDosTime);
        put16(directory, kDosDate);
        put32(directory, entry.crc);
        put32(directory, entry.compressed);
        put32(directory, entry.size);
        put16(directory, static_cast<std::uint32_t>(entry.name.size()));
        put16(directory, 0);  // extra field
        put16(directory, 0);  // comment
        put16(directory, 0);  // disk
        put16(directory, 0);  // internal attributes
        put32(directory, 0);  // external attributes
        put32(directory, entry.offset);
        directory += entry.name;
    }
    const std::uint64_t start = written_;
    const std::uint64_t directorySize = directory.size();
    if (start > kZip32Limit) throw AutomationError("the workbook is larger than a workbook file can hold (4 GiB)");
    put32(directory, 0x06054b50);
    put16(directory, 0);
    put16(directory, 0);
    put16(directory, static_cast<std::uint32_t>(entries_.size()));
    put16(directory, static_cast<std::uint32_t>(entries_.size()));
    put32(directory, directorySize);
    put32(directory, start);
    put16(directory, 0);
    writeBytes(directory.data(), directory.size());
}

}  // namespace tabulix::spreadsheet
