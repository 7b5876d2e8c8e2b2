#pragma once
// Internal: the zip container of an .xlsx file, written in one pass to an open file. Parts are
// written one after another, each handed over in chunks. Chunks are deflated independently by a
// second thread and, whenever enough of them wait, by the caller too; the second thread writes
// them to the file in order. Compressing takes most of a save, so on two cores saving costs
// about half of writing and compressing together.

#ifndef TABULIX_ROOM_XLSX
#error "an internal header of spreadsheet/xlsx/: outside it, include its public headers"
#endif

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tabulix::spreadsheet {

class ChunkDeflater;

class ZipWriter {
public:
    // A part's content is handed over in chunks of about this size.
    static constexpr std::size_t kChunkSize = std::size_t{1} << 20;

    // Writes to `fd` (borrowed, positioned at its start), deflating at `level` (1-12).
    ZipWriter(int fd, int level);
    // Stops the compressing thread; a writer not finished leaves an incomplete file.
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    void beginPart(std::string name);
    // Takes the next piece of the current part; `chunk` comes back empty, with a buffer to reuse.
    void write(std::string& chunk);
    void endPart();
    // Writes the central directory. Raises automation::AutomationError with the reason when the
    // file could not be written.
    void finish();

private:
    struct Job {
        enum class Kind { Begin, Data, End } kind;
        std::string payload;  // the part name for Begin, content for Data
        std::vector<std::uint8_t> compressed;
        enum class State { Waiting, Compressing, Compressed } state = State::Waiting;
        bool needsCompressing() const { return kind != Kind::Begin; }
    };
    struct Entry {
        std::string name;
        std::uint32_t crc = 0;
        std::uint64_t compressed = 0;
        std::uint64_t size = 0;
        std::uint64_t offset = 0;
    };

    void submit(Job job);
    void run();
    // The oldest job still waiting for compression, or nullptr. Called with the mutex held.
    Job* waitingJob();
    // Compresses the job with `deflater` outside the lock; a failure is kept for the caller.
    void compress(Job& job, ChunkDeflater& deflater, std::unique_lock<std::mutex>& lock);
    bool frontReady() const;
    void store(Job& job);
    void writeBytes(const void* data, std::size_t size);
    void rethrowFailure();

    int fd_;
    int level_;
    std::unique_ptr<ChunkDeflater> deflater_;        // the second thread's
    std::unique_ptr<ChunkDeflater> callerDeflater_;  // the caller's, made when it first helps
    std::uint64_t written_ = 0;
    std::vector<Entry> entries_;  // filled by the second thread

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Job>> jobs_;  // in file order; stable while compressed unlocked
    std::vector<std::string> spare_;         // buffers of chunks already written
    bool storing_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread worker_;
};

}  // namespace tabulix::spreadsheet
