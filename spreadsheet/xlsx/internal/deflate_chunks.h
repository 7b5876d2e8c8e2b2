#pragma once
// Internal: a large part is deflated in independent chunks (so that one core can compress a
// chunk while the other writes the next), and the chunks are joined into one deflate stream.
// A whole-buffer compressor ends every chunk with a final block; joining needs that block made
// non-final and the chunk ended on a byte boundary, the way a sync flush ends it.

#ifndef TABULIX_ROOM_XLSX
#error "an internal header of spreadsheet/xlsx/: outside it, include its public headers"
#endif

#include <cstdint>
#include <vector>

struct libdeflate_compressor;

namespace tabulix::spreadsheet {

// Compresses whole buffers at one level; one per thread.
class ChunkDeflater {
public:
    explicit ChunkDeflater(int level);
    ~ChunkDeflater();
    ChunkDeflater(const ChunkDeflater&) = delete;
    ChunkDeflater& operator=(const ChunkDeflater&) = delete;

    // Appends the raw deflate stream of `size` bytes at `data` to `out`. With `final` false the
    // stream is left open (its last block non-final, followed by an empty stored block), so that
    // the next chunk's stream can follow it directly.
    void compress(const char* data, std::size_t size, bool final, std::vector<std::uint8_t>& out);

private:
    ::libdeflate_compressor* compressor_;
};

// Turns the complete raw deflate stream that fills `buffer` from `start` into an open one:
// clears the final flag of its last block and ends it with an empty stored block. Raises
// std::runtime_error when the bytes are not a complete deflate stream.
void openDeflateStream(std::vector<std::uint8_t>& buffer, std::size_t start = 0);

}  // namespace tabulix::spreadsheet
