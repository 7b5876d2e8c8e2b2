// libFuzzer target for the dBASE reader: arbitrary bytes become a table (and a memo file), which
// is opened as a TTable and walked, reading every value. A damaged file may be refused or give
// errors on values (EDatabaseError); anything else (a crash, a sanitizer report, another
// exception, a hang, a text that is not valid UTF-8) is a bug.
//
// Input layout: two bytes (little-endian) give the length n of the table; the next n bytes are
// the .dbf, the rest the memo file (written as .dbt and .fpt). Inputs shorter than two bytes are
// taken as a table alone.

#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/data_error.h"
#include "data/field.h"
#include "data/table.h"
#include "framework/utf8_text.h"
#include "fuzz/scratch_folder.h"

namespace {

const std::filesystem::path& folder() {
    static const tabulix::fuzz::ScratchFolder scratch("tabulix-dbf-fuzz");
    return scratch.path();
}

void write(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t tableSize = size;
    if (size >= 2) {
        tableSize = std::min<std::size_t>(data[0] | (data[1] << 8), size - 2);
        data += 2;
        size -= 2;
    }
    write(folder() / "t.dbf", data, tableSize);
    write(folder() / "t.dbt", data + tableSize, size - tableSize);
    write(folder() / "t.fpt", data + tableSize, size - tableSize);

    using namespace tabulix::data;
    TTable table;
    table.SetDatabaseName(folder().string());
    table.SetTableName("t.dbf");
    try {
        table.Open();
    } catch (const EDatabaseError&) {
        return 0;
    }
    try {
        table.RecordCount();
    } catch (const EDatabaseError&) {
    }
    TBookmark mark;
    for (table.First(); !table.Eof(); table.Next()) {
        if (mark.IsEmpty() && table.RecNo() == 2) mark = table.GetBookmark();
        for (TField* field : table.FieldList()) {
            try {
                // Whatever the bytes, a text reaches the caller as valid UTF-8.
                const tabulix::automation::Variant value = field->Value();
                const std::string* text = value.getIf<std::string>();
                if (text && !tabulix::framework::utf8::isValid(*text)) std::abort();
                field->AsString();
            } catch (const EDatabaseError&) {
            }
        }
    }
    table.GotoBookmark(mark);
    table.FreeBookmark(mark);
    table.Close();
    return 0;
}
