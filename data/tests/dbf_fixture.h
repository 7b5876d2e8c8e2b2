#pragma once
// Writes dBASE files byte by byte, independently of the reader under test (and of shapelib),
// so the tests read files the reader did not write itself. Knobs let a test damage the header.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <stdlib.h>

namespace tabulix::data::testing {

struct DbfFieldSpec {
    std::string name;
    char type = 'C';
    int width = 10;
    int decimals = 0;
};

class DbfFixture {
public:
    explicit DbfFixture(std::vector<DbfFieldSpec> fields, std::uint8_t version = 0x03, std::uint8_t languageDriver = 0x57)
        : fields_(std::move(fields)), version_(version), languageDriver_(languageDriver) {}

    // One record: each value as the bytes the file holds, padded to the field's width
    // (numbers right-justified, everything else left-justified).
    DbfFixture& add(const std::vector<std::string>& values, bool deleted = false) {
        std::string record(1, deleted ? '*' : ' ');
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            std::string value = i < values.size() ? values[i] : std::string();
            const auto width = static_cast<std::size_t>(fields_[i].width);
            value = value.substr(0, width);
            const bool right = fields_[i].type == 'N' || fields_[i].type == 'F' || fields_[i].type == 'M';
            const std::string pad(width - value.size(), ' ');
            record += right ? pad + value : value + pad;
        }
        records_.push_back(record);
        return *this;
    }

    std::optional<std::uint32_t> recordCount;
    std::optional<std::uint16_t> headerLength;
    std::optional<std::uint16_t> recordLength;
    bool endMark = true;

    std::string bytes() const {
        int sum = 1;
        for (const auto& f : fields_) sum += f.width;
        const auto count = recordCount.value_or(static_cast<std::uint32_t>(records_.size()));
        const auto header = headerLength.value_or(static_cast<std::uint16_t>(32 + 32 * fields_.size() + 1));
        const auto length = recordLength.value_or(static_cast<std::uint16_t>(sum));
        std::string out(32, '\0');
        out[0] = static_cast<char>(version_);
        out[1] = 124;  // last update 2024-03-15
        out[2] = 3;
        out[3] = 15;
        put32(out, 4, count);
        put16(out, 8, header);
        put16(out, 10, length);
        out[29] = static_cast<char>(languageDriver_);
        for (const auto& f : fields_) {
            std::string d(32, '\0');
            for (std::size_t i = 0; i < f.name.size() && i < 10; ++i) d[i] = f.name[i];
            d[11] = f.type;
            d[16] = static_cast<char>(f.width);
            d[17] = static_cast<char>(f.decimals);
            out += d;
        }
        out += '\x0D';
        for (const auto& r : records_) out += r;
        if (endMark) out += '\x1A';
        return out;
    }

    void write(const std::filesystem::path& path) const { writeFile(path, bytes()); }

    static void writeFile(const std::filesystem::path& path, const std::string& content) {
        std::ofstream file(path, std::ios::binary);
        file << content;
    }

private:
    static void put16(std::string& s, std::size_t at, std::uint32_t v) {
        s[at] = static_cast<char>(v & 0xFF);
        s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    }
    static void put32(std::string& s, std::size_t at, std::uint32_t v) {
        put16(s, at, v & 0xFFFF);
        put16(s, at + 2, v >> 16);
    }

    std::vector<DbfFieldSpec> fields_;
    std::uint8_t version_;
    std::uint8_t languageDriver_;
    std::vector<std::string> records_;
};

// dBASE III memo file: 512-byte blocks, block 0 the header, each memo ending with 0x1A 0x1A.
// Returns the block number of each text in order.
inline std::vector<int> writeDbase3Memo(const std::filesystem::path& path, const std::vector<std::string>& texts) {
    std::string out(512, '\0');
    std::vector<int> blocks;
    for (const auto& text : texts) {
        blocks.push_back(static_cast<int>(out.size() / 512));
        std::string memo = text + "\x1A\x1A";
        memo.resize((memo.size() + 511) / 512 * 512, '\0');
        out += memo;
    }
    const auto next = static_cast<std::uint32_t>(out.size() / 512);
    for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(i)] = static_cast<char>((next >> (8 * i)) & 0xFF);
    DbfFixture::writeFile(path, out);
    return blocks;
}

// A folder of its own for one test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tabulix-data-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace tabulix::data::testing
