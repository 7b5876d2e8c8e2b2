#include "data/memo_file.h"

#include <cerrno>
#include <cstring>

#include "data/data_error.h"
#include "data/shown_text.h"
#include "framework/printable.h"

namespace tabulix::data {

namespace {

// Memos longer than this are refused rather than loaded: no real memo comes near it, and a
// damaged length must not make the reader allocate gigabytes.
constexpr std::uint64_t kMaxMemoBytes = 64u << 20;

std::uint32_t littleEndian32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint32_t bigEndian32(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

}  // namespace

std::unique_ptr<MemoFile> MemoFile::open(const std::filesystem::path& file, Kind kind) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return nullptr;
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) throw EDatabaseError("Cannot open memo file " + framework::quotedPath(file) + ": " + std::strerror(errno));
    const std::uint64_t size = std::filesystem::file_size(file, error);
    unsigned char header[32] = {};
    const std::size_t got = std::fread(header, 1, sizeof header, f);
    std::uint32_t blockSize = 512;
    if (kind == Kind::FoxPro && got >= 8) {
        blockSize = (header[6] << 8) | header[7];
    } else if (kind == Kind::dBase4 && got >= 22) {
        blockSize = header[20] | (header[21] << 8);
    }
    if (blockSize == 0) blockSize = kind == Kind::FoxPro ? 64 : 512;
    return std::unique_ptr<MemoFile>(new MemoFile(file, f, kind, error ? 0 : size, blockSize));
}

MemoFile::MemoFile(std::filesystem::path path, std::FILE* file, Kind kind, std::uint64_t size, std::uint32_t blockSize)
    : path_(std::move(path)), file_(file), kind_(kind), size_(size), blockSize_(blockSize) {}

MemoFile::~MemoFile() { std::fclose(file_); }

void MemoFile::damaged(std::uint32_t block, const std::string& problem) const {
    throw EDatabaseError("Memo file " + shownPath(path_) + " is damaged: the memo at block " + std::to_string(block) +
                         " " + problem);
}

std::string MemoFile::readBytes(std::uint64_t offset, std::uint64_t count) const {
    std::string bytes(static_cast<std::size_t>(count), '\0');
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0 ||
        std::fread(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        throw EDatabaseError("Cannot read " + std::to_string(count) + " bytes at offset " + std::to_string(offset) +
                             " of memo file " + shownPath(path_));
    return bytes;
}

std::string MemoFile::read(std::uint32_t block) const {
    const std::uint64_t offset = static_cast<std::uint64_t>(block) * blockSize_;
    if (block == 0) damaged(block, "points into the file's header");
    if (offset >= size_) damaged(block, "starts past the end of the file (" + std::to_string(size_) + " bytes)");
    const std::uint64_t available = size_ - offset;

    if (kind_ == Kind::FoxPro || kind_ == Kind::dBase4) {
        if (available >= 8) {
            const std::string head = readBytes(offset, 8);
            const auto* p = reinterpret_cast<const unsigned char*>(head.data());
            std::uint64_t length = 0;
            bool framed = false;
            if (kind_ == Kind::FoxPro) {
                length = bigEndian32(p + 4);
                framed = true;
            } else if (p[0] == 0xFF && p[1] == 0xFF && p[2] == 0x08 && p[3] == 0x00) {
                // dBASE IV: the length counts the 8-byte block header.
                const std::uint32_t total = littleEndian32(p + 4);
                if (total < 8) damaged(block, "has a length of " + std::to_string(total) + " bytes");
                length = total - 8;
                framed = true;
            }
            if (framed) {
                if (length > available - 8 || length > kMaxMemoBytes)
                    damaged(block, "claims " + std::to_string(length) + " bytes, more than the file holds");
                return readBytes(offset + 8, length);
            }
        } else if (kind_ == Kind::FoxPro) {
            damaged(block, "has no room for its header");
        }
    }

    // dBASE III: the text runs to the first end-of-file mark (0x1A) or the end of the file.
    std::string text;
    std::uint64_t position = offset;
    while (position < size_) {
        const std::uint64_t chunk = std::min<std::uint64_t>(blockSize_, size_ - position);
        const std::string bytes = readBytes(position, chunk);
        const std::size_t end = bytes.find('\x1A');
        text.append(bytes, 0, end);
        if (end != std::string::npos) break;
        if (text.size() > kMaxMemoBytes) damaged(block, "has no end mark within " + std::to_string(kMaxMemoBytes) + " bytes");
        position += chunk;
    }
    return text;
}

}  // namespace tabulix::data
