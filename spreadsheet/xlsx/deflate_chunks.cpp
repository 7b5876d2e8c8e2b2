#include "deflate_chunks.h"

#include <libdeflate.h>

#include <array>
#include <new>
#include <stdexcept>

namespace tabulix::spreadsheet {

namespace {

[[noreturn]] void damaged(const char* why) { throw std::runtime_error(std::string("deflate stream: ") + why); }

// Reads the stream's bits least significant first, as deflate packs them.
class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint32_t peek(unsigned count) {
        refill(count);
        return static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << count) - 1));
    }
    void skip(unsigned count) {
        bits_ >>= count;
        held_ -= count;
        position_ += count;
        if (position_ > size_ * 8) damaged("the stream ends inside a block");
    }
    std::uint32_t read(unsigned count) {
        const std::uint32_t value = peek(count);
        skip(count);
        return value;
    }
    void alignToByte() { skip(static_cast<unsigned>((8 - position_ % 8) % 8)); }
    std::size_t position() const { return position_; }
    // Bytes are consumed whole; a stored block's contents are skipped without being read.
    void skipBytes(std::size_t count) {
        if (position_ % 8 != 0) damaged("stored block not byte-aligned");
        if (position_ / 8 + count > size_) damaged("stored block runs past the end");
        position_ += count * 8;
        next_ = position_ / 8;
        bits_ = 0;
        held_ = 0;
    }

private:
    void refill(unsigned count) {
        // Past the end the stream reads as zeros: a code near the end may be shorter than the
        // table width; skip() refuses to consume bits that are not there.
        while (held_ < count) {
            const std::uint64_t byte = next_ < size_ ? data_[next_] : 0;
            ++next_;
            bits_ |= byte << held_;
            held_ += 8;
        }
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t next_ = 0;       // next byte to load
    std::size_t position_ = 0;   // bits consumed
    std::uint64_t bits_ = 0;
    unsigned held_ = 0;
};

// A canonical Huffman code as a table indexed by the next `width` bits of the stream.
class HuffmanTable {
public:
    void build(const std::uint8_t* lengths, unsigned count) {
        std::array<unsigned, 16> perLength{};
        width_ = 0;
        for (unsigned s = 0; s < count; ++s) {
            ++perLength[lengths[s]];
            if (lengths[s] > width_) width_ = lengths[s];
        }
        if (width_ == 0) width_ = 1;  // a code with no symbols; never used by a sound stream
        perLength[0] = 0;
        std::array<unsigned, 16> next{};
        unsigned code = 0;
        for (unsigned len = 1; len < 16; ++len) {
            code = (code + perLength[len - 1]) << 1;
            next[len] = code;
        }
        entries_.assign(std::size_t{1} << width_, 0);
        for (unsigned s = 0; s < count; ++s) {
            const unsigned len = lengths[s];
            if (len == 0) continue;
            const unsigned c = next[len]++;
            if (c >= (1u << len)) damaged("over-subscribed Huffman code");
            unsigned reversed = 0;
            for (unsigned i = 0; i < len; ++i) reversed |= ((c >> i) & 1u) << (len - 1 - i);
            for (unsigned fill = reversed; fill < entries_.size(); fill += 1u << len)
                entries_[fill] = static_cast<std::uint16_t>(s << 4 | len);
        }
    }
    unsigned decode(BitReader& in) const {
        const std::uint16_t entry = entries_[in.peek(width_)];
        if ((entry & 15) == 0) damaged("a code that is not in the table");
        in.skip(entry & 15);
        return entry >> 4;
    }

private:
    std::vector<std::uint16_t> entries_;
    unsigned width_ = 1;
};

constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

void fixedTables(HuffmanTable& literals, HuffmanTable& distances) {
    std::uint8_t lengths[288];
    for (unsigned s = 0; s < 288; ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    literals.build(lengths, 288);
    std::uint8_t distanceLengths[30];
    for (std::uint8_t& l : distanceLengths) l = 5;
    distances.build(distanceLengths, 30);
}

void dynamicTables(BitReader& in, HuffmanTable& literals, HuffmanTable& distances) {
    static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    const unsigned literalCount = in.read(5) + 257;
    const unsigned distanceCount = in.read(5) + 1;
    const unsigned lengthCodeCount = in.read(4) + 4;
    std::uint8_t codeLengths[19] = {};
    for (unsigned i = 0; i < lengthCodeCount; ++i) codeLengths[kOrder[i]] = static_cast<std::uint8_t>(in.read(3));
    HuffmanTable lengthCode;
    lengthCode.build(codeLengths, 19);
    std::uint8_t lengths[288 + 32] = {};
    const unsigned total = literalCount + distanceCount;
    for (unsigned i = 0; i < total;) {
        const unsigned symbol = lengthCode.decode(in);
        unsigned repeat = 1;
        std::uint8_t value = 0;
        if (symbol < 16) {
            value = static_cast<std::uint8_t>(symbol);
        } else if (symbol == 16) {
            if (i == 0) damaged("a repeated length with nothing before it");
            value = lengths[i - 1];
            repeat = 3 + in.read(2);
        } else if (symbol == 17) {
            repeat = 3 + in.read(3);
        } else {
            repeat = 11 + in.read(7);
        }
        if (i + repeat > total) damaged("code lengths run past their count");
        for (unsigned k = 0; k < repeat; ++k) lengths[i++] = value;
    }
    literals.build(lengths, literalCount);
    distances.build(lengths + literalCount, distanceCount);
}

void skipSymbols(BitReader& in, const HuffmanTable& literals, const HuffmanTable& distances) {
    for (;;) {
        const unsigned symbol = literals.decode(in);
        if (symbol < 256) continue;
        if (symbol == 256) return;
        if (symbol > 285) damaged("a length symbol out of range");
        in.read(kLengthExtra[symbol - 257]);
        const unsigned distance = distances.decode(in);
        if (distance > 29) damaged("a distance symbol out of range");
        in.read(distance < 4 ? 0 : distance / 2 - 1);
    }
}

}  // namespace

void openDeflateStream(std::vector<std::uint8_t>& buffer, std::size_t start) {
    BitReader in(buffer.data() + start, buffer.size() - start);
    std::uint8_t* stream = buffer.data() + start;
    HuffmanTable literals;
    HuffmanTable distances;
    for (;;) {
        const std::size_t header = in.position();
        const bool final = in.read(1) != 0;
        const unsigned type = in.read(2);
        if (type == 0) {
            in.alignToByte();
            const std::uint32_t length = in.read(16);
            if ((in.read(16) ^ 0xFFFFu) != length) damaged("a stored block with a damaged length");
            in.skipBytes(length);
        } else if (type == 1 || type == 2) {
            if (type == 1)
                fixedTables(literals, distances);
            else
                dynamicTables(in, literals, distances);
            skipSymbols(in, literals, distances);
        } else {
            damaged("a block of the reserved type");
        }
        if (!final) continue;
        stream[header / 8] &= static_cast<std::uint8_t>(~(1u << (header % 8)));
        // An empty stored block after the last one, as a sync flush writes it: three header
        // bits (not final, stored) and padding to the byte, all zero, then the length 0 and its
        // complement. Whatever the compressor left after the end-of-block code is cleared.
        const std::size_t end = in.position();
        const std::size_t size = (end + 3 + 7) / 8;
        buffer.resize(start + size);
        stream = buffer.data() + start;
        if (end % 8 != 0) stream[end / 8] &= static_cast<std::uint8_t>((1u << (end % 8)) - 1);
        for (std::size_t i = (end + 7) / 8; i < size; ++i) stream[i] = 0;
        buffer.insert(buffer.end(), {0x00, 0x00, 0xFF, 0xFF});
        return;
    }
}

ChunkDeflater::ChunkDeflater(int level) : compressor_(libdeflate_alloc_compressor(level)) {
    if (!compressor_) throw std::bad_alloc();
}

ChunkDeflater::~ChunkDeflater() { libdeflate_free_compressor(compressor_); }

void ChunkDeflater::compress(const char* data, std::size_t size, bool final, std::vector<std::uint8_t>& out) {
    const std::size_t start = out.size();
    out.resize(start + libdeflate_deflate_compress_bound(compressor_, size));
    const std::size_t written = libdeflate_deflate_compress(compressor_, data, size, out.data() + start, out.size() - start);
    if (written == 0) throw std::runtime_error("deflate: the output bound was too small");
    out.resize(start + written);
    if (!final) openDeflateStream(out, start);
}

}  // namespace tabulix::spreadsheet
