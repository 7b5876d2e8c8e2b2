// Walks a 1,000,000-record, 9-column dBASE table through TTable, reading every value of every
// record, and prints records per second and the peak memory of the process. The reference in
// the same run is a plain sequential read of the same records with fread, so the ratio shows
// what the data set layer costs over the disk. A second figure fills a memory data set with the
// same million records, to show how compactly it keeps them.
//
//     dbf_walk_bench [FILE]      (default /tmp/tabulix-bench-1m.dbf, written when absent)

#include <sys/resource.h>

#include <time.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/field.h"
#include "data/memory_data_set.h"
#include "data/table.h"

namespace {

constexpr std::uint32_t kRecords = 1'000'000;

struct Column {
    const char* name;
    char type;
    int width;
    int decimals;
};
constexpr Column kColumns[] = {
    {"COD_ARTI", 'C', 8, 0},    {"DESC_ARTI", 'C', 20, 0}, {"VENTAS_ENE", 'N', 12, 2},
    {"VENTAS_FEB", 'N', 12, 2}, {"VENTAS_MAR", 'N', 12, 2}, {"STOC_ACT", 'N', 10, 2},
    {"PVP", 'N', 10, 2},        {"ACTIVO", 'L', 1, 0},      {"FECHA", 'D', 8, 0},
};

int recordLength() {
    int length = 1;
    for (const Column& c : kColumns) length += c.width;
    return length;
}

void put16(std::string& s, std::size_t at, unsigned v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}

// Writes the table sequentially; about 100 MB.
void writeTable(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path.string());
    std::string header(32, '\0');
    header[0] = 0x03;
    header[1] = 124;
    header[2] = 1;
    header[3] = 1;
    for (int i = 0; i < 4; ++i) header[4 + static_cast<std::size_t>(i)] = static_cast<char>((kRecords >> (8 * i)) & 0xFF);
    put16(header, 8, 32 + 32 * std::size(kColumns) + 1);
    put16(header, 10, static_cast<unsigned>(recordLength()));
    header[29] = 0x57;
    for (const Column& c : kColumns) {
        std::string d(32, '\0');
        for (std::size_t i = 0; c.name[i]; ++i) d[i] = c.name[i];
        d[11] = c.type;
        d[16] = static_cast<char>(c.width);
        d[17] = static_cast<char>(c.decimals);
        header += d;
    }
    header += '\x0D';
    std::fwrite(header.data(), 1, header.size(), file);
    char record[256];
    for (std::uint32_t i = 0; i < kRecords; ++i) {
        const double sales = (i % 9973) * 1.25;
        std::snprintf(record, sizeof record, " A%07u%-20s%12.2f%12.2f%12.2f%10.2f%10.2f%c2024%02u%02u",
                      i, (i % 7 == 0 ? "Jam\xF3n ib\xE9rico" : "Cami\xF3n de juguete"), sales, sales / 2, sales * 3,
                      static_cast<double>(i % 500), 9.95 + i % 100, i % 3 ? 'T' : 'F', 1 + i % 12, 1 + i % 28);
        std::fwrite(record, 1, static_cast<std::size_t>(recordLength()), file);
    }
    std::fputc(0x1A, file);
    std::fclose(file);
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor time of the process: on a shared, loaded machine it says more than the wall clock.
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tabulix::data;
    const std::filesystem::path file = argc > 1 ? argv[1] : "/tmp/tabulix-bench-1m.dbf";
    std::error_code error;
    const auto expectedSize = 32 + 32 * std::size(kColumns) + 1 + std::uint64_t{kRecords} * recordLength() + 1;
    if (!std::filesystem::exists(file, error) || std::filesystem::file_size(file, error) != expectedSize) {
        std::printf("writing %s ...\n", file.c_str());
        writeTable(file);
    }
    std::printf("table: %s, %u records of %d bytes (%.1f MB)\n", file.c_str(), kRecords, recordLength(),
                static_cast<double>(std::filesystem::file_size(file)) / 1e6);

    // Reference: the same records read with fread, one at a time, touching every byte.
    auto start = std::chrono::steady_clock::now();
    double cpuStart = cpuSeconds();
    {
        std::FILE* raw = std::fopen(file.c_str(), "rb");
        std::fseek(raw, static_cast<long>(32 + 32 * std::size(kColumns) + 1), SEEK_SET);
        std::vector<char> record(static_cast<std::size_t>(recordLength()));
        unsigned checksum = 0;
        for (std::uint32_t i = 0; i < kRecords; ++i) {
            if (std::fread(record.data(), 1, record.size(), raw) != record.size()) break;
            for (char c : record) checksum += static_cast<unsigned char>(c);
        }
        std::fclose(raw);
        if (checksum == 1) std::printf(" ");
    }
    const double referenceSeconds = seconds(start);
    const double referenceCpu = cpuSeconds() - cpuStart;

    start = std::chrono::steady_clock::now();
    cpuStart = cpuSeconds();
    std::uint64_t values = 0, nulls = 0;
    std::int64_t records = 0;
    {
        TTable table;
        table.SetName("Bench");
        table.SetDatabaseName(file.parent_path().string());
        table.SetTableName(file.filename().string());
        table.Open();
        table.DisableControls();
        for (table.First(); !table.Eof(); table.Next()) {
            ++records;
            for (TField* field : table.FieldList()) {
                const auto value = field->Value();
                ++values;
                if (value.isNull()) ++nulls;
            }
        }
        table.EnableControls();
    }
    const double walkSeconds = seconds(start);
    const double walkCpu = cpuSeconds() - cpuStart;
    const long walkPeak = peakKilobytes();
    std::printf("TTable walk: %lld records, %llu values (%llu null) in %.2f s wall, %.2f s CPU = %.0f records/s "
                "(%.0f per CPU second)\n",
                static_cast<long long>(records), static_cast<unsigned long long>(values),
                static_cast<unsigned long long>(nulls), walkSeconds, walkCpu, static_cast<double>(records) / walkSeconds,
                static_cast<double>(records) / walkCpu);
    std::printf("reference fread of the same records: %.2f s wall, %.2f s CPU; walk/reference CPU ratio %.1f\n",
                referenceSeconds, referenceCpu, walkCpu / referenceCpu);
    std::printf("peak memory after the walk: %.1f MB (the file is %.1f MB)\n", walkPeak / 1024.0,
                static_cast<double>(std::filesystem::file_size(file)) / 1e6);

    // The same million records kept in a memory data set.
    start = std::chrono::steady_clock::now();
    TMemoryDataSet memory;
    memory.AddFieldDef("COD_ARTI", TFieldType::ftString, 8);
    memory.AddFieldDef("DESC_ARTI", TFieldType::ftString, 20);
    memory.AddFieldDef("VENTAS_ENE", TFieldType::ftFloat);
    memory.AddFieldDef("VENTAS_FEB", TFieldType::ftFloat);
    memory.AddFieldDef("VENTAS_MAR", TFieldType::ftFloat);
    memory.AddFieldDef("STOC_ACT", TFieldType::ftFloat);
    memory.AddFieldDef("PVP", TFieldType::ftFloat);
    memory.AddFieldDef("ACTIVO", TFieldType::ftBoolean);
    memory.AddFieldDef("FECHA", TFieldType::ftDate);
    for (std::uint32_t i = 0; i < kRecords; ++i) {
        const double sales = (i % 9973) * 1.25;
        memory.AppendRecord({std::string("A") + std::to_string(i), i % 7 == 0 ? "Jamón ibérico" : "Camión de juguete",
                             sales, sales / 2, sales * 3, static_cast<double>(i % 500), 9.95 + i % 100, i % 3 != 0,
                             tabulix::automation::Date{45000.0 + i % 365}});
    }
    const double fillSeconds = seconds(start);
    const long memoryPeak = peakKilobytes();
    std::printf("memory data set: %lld records appended in %.2f s; peak memory %.1f MB (+%.1f MB)\n",
                static_cast<long long>(memory.StoredRecordCount()), fillSeconds, memoryPeak / 1024.0,
                (memoryPeak - walkPeak) / 1024.0);
    return 0;
}
