// Writes the demonstration's sample table: 18 articles of a Spanish shop in a dBASE III file,
// texts in Windows-1252 and the language-driver byte saying so (0x57).
//
//     make_demo_dbf demo/Demo.DBF

#include <shapefil.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

struct Article {
    const char* code;
    const char* description;  // UTF-8 here, Windows-1252 in the file
    double january, february, march;
    double stock;
    double price;
    bool active;
    const char* other;
};

constexpr Article kArticles[] = {
    {"JUG-001", "Camión de juguete", 1520.50, 1340.00, 1785.25, 42, 24.95, true, "Novedad"},
    {"JUG-002", "Piñata", 310.00, 295.50, 420.00, 65, 12.50, true, ""},
    {"ALI-001", "Jamón ibérico", 8450.00, 7210.40, 6980.75, 12, 289.00, true, "Bellota"},
    {"ALI-002", "Turrón de Jijona", 5230.80, 610.20, 180.00, 150, 8.75, true, "Temporada"},
    {"ALI-003", "Aceite de oliva 1 L", 2310.00, 2455.60, 2590.10, 320, 9.20, true, ""},
    {"ALI-004", "Queso manchego", 3120.45, 2980.00, 3305.90, 48, 18.60, true, "Curado"},
    {"ALI-005", "Azafrán de La Mancha", 940.00, 875.25, 1010.00, 30, 14.90, true, ""},
    {"ALI-006", "Mazapán de Toledo", 2870.00, 540.30, 210.15, 85, 6.40, true, "Temporada"},
    {"JUG-003", "Muñeca de trapo", 640.00, 720.50, 698.00, 27, 19.99, true, ""},
    {"DEP-001", "Balón de fútbol", 1890.00, 2105.75, 2280.40, 56, 29.90, true, "Oferta"},
    {"PAP-001", "Cuaderno A4 espiral", 455.20, 610.80, 590.00, 410, 2.35, true, ""},
    {"PAP-002", "Bolígrafo azul", 230.40, 265.10, 248.90, 1200, 0.60, true, ""},
    {"HOG-001", "Paellera 40 cm", 780.00, 805.50, 1130.00, 19, 34.50, true, ""},
    {"ALI-007", "Vino tinto Rioja", 4120.60, 3890.00, 4015.30, 210, 11.75, true, "Crianza"},
    {"ALI-008", "Café molido 250 g", 1675.00, 1702.25, 1744.80, 260, 3.95, true, ""},
    {"ALI-009", "Chorizo picante", 1330.10, 1295.00, 1402.60, 74, 5.80, false, "Agotado"},
    {"ALI-010", "Galletas María", 890.00, 905.40, 930.00, 380, 1.45, true, ""},
    {"BEB-001", "Horchata de chufa", 120.00, 160.50, 340.75, 95, 2.90, false, "Verano"},
};

// The Spanish texts use only characters of the Latin-1 range, which Windows-1252 keeps at the
// same codes.
std::string toWindows1252(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if ((b & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned code = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu);
            if (code < 0xA0 || code > 0xFF) throw std::runtime_error("character outside Latin-1 in: " + utf8);
            out += static_cast<char>(code);
        } else {
            throw std::runtime_error("character outside Latin-1 in: " + utf8);
        }
    }
    return out;
}

void check(int ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("shapelib could not ") + what);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.DBF\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path target = argv[1];
        // shapelib always names the file it creates "<base>.dbf"; it is renamed at the end.
        std::filesystem::path work = target;
        work.replace_extension(".dbf");
        DBFHandle dbf = DBFCreateEx(work.c_str(), "LDID/87");
        if (!dbf) throw std::runtime_error("cannot create " + work.string());
        check(DBFAddField(dbf, "COD_ARTI", FTString, 8, 0) == 0, "add COD_ARTI");
        check(DBFAddField(dbf, "DESC_ARTI", FTString, 20, 0) == 1, "add DESC_ARTI");
        check(DBFAddField(dbf, "VENTAS_ENE", FTDouble, 12, 2) == 2, "add VENTAS_ENE");
        check(DBFAddField(dbf, "VENTAS_FEB", FTDouble, 12, 2) == 3, "add VENTAS_FEB");
        check(DBFAddField(dbf, "VENTAS_MAR", FTDouble, 12, 2) == 4, "add VENTAS_MAR");
        check(DBFAddField(dbf, "STOC_ACT", FTDouble, 10, 2) == 5, "add STOC_ACT");
        check(DBFAddField(dbf, "PVP", FTDouble, 10, 2) == 6, "add PVP");
        check(DBFAddField(dbf, "ACTIVO", FTLogical, 1, 0) == 7, "add ACTIVO");
        check(DBFAddField(dbf, "OTROS", FTString, 10, 0) == 8, "add OTROS");
        int row = 0;
        for (const Article& a : kArticles) {
            const std::string description = toWindows1252(a.description);
            if (description.size() > 20) throw std::runtime_error(std::string("too long: ") + a.description);
            check(DBFWriteStringAttribute(dbf, row, 0, a.code), "write COD_ARTI");
            check(DBFWriteStringAttribute(dbf, row, 1, description.c_str()), "write DESC_ARTI");
            check(DBFWriteDoubleAttribute(dbf, row, 2, a.january), "write VENTAS_ENE");
            check(DBFWriteDoubleAttribute(dbf, row, 3, a.february), "write VENTAS_FEB");
            check(DBFWriteDoubleAttribute(dbf, row, 4, a.march), "write VENTAS_MAR");
            check(DBFWriteDoubleAttribute(dbf, row, 5, a.stock), "write STOC_ACT");
            check(DBFWriteDoubleAttribute(dbf, row, 6, a.price), "write PVP");
            check(DBFWriteLogicalAttribute(dbf, row, 7, a.active ? 'T' : 'F'), "write ACTIVO");
            check(DBFWriteStringAttribute(dbf, row, 8, toWindows1252(a.other).c_str()), "write OTROS");
            ++row;
        }
        // A fixed modification date keeps the file identical from one run to the next.
        DBFSetLastModifiedDate(dbf, 126, 1, 15);
        DBFClose(dbf);

        // The language-driver byte must say Windows-1252 whatever this shapelib wrote.
        std::FILE* file = std::fopen(work.c_str(), "r+b");
        if (!file) throw std::runtime_error("cannot reopen " + work.string());
        std::fseek(file, 29, SEEK_SET);
        std::fputc(0x57, file);
        std::fclose(file);
        if (work != target) std::filesystem::rename(work, target);
        std::printf("%s: %d articles\n", target.c_str(), row);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_demo_dbf: %s\n", error.what());
        return 1;
    }
    return 0;
}
