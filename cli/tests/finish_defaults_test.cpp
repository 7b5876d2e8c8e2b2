// A report's finish left at its defaults changes nothing: the demonstration's form with every
// setting of the finish written out at its default gives the very same workbook, byte for byte,
// as the form without them.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/tests/cli_test_support.h"

namespace tabulix::cli {
namespace {

using testing::ReadFile;
using testing::RunTabulix;
using testing::ScratchFolder;

TEST(FinishDefaults, TheDemonstrationsWorkbookIsTheSameByteForByte) {
    const auto demo = testing::SourceDir() / "demo";
    if (!std::filesystem::exists(demo / "DemoTabulix.form")) GTEST_SKIP() << "no demonstration form in " << demo;
    ScratchFolder folder;
    std::filesystem::copy_file(demo / "Demo.DBF", folder / "Demo.DBF");
    std::string form = ReadFile(demo / "DemoTabulix.form");
    const std::string anchor = "object de: TTabulix\n";
    const auto at = form.find(anchor);
    ASSERT_NE(at, std::string::npos);
    form.insert(at + anchor.size(),
                "    InmovilizarCabecera = False\n"
                "    InmovilizarColumnas = 0\n"
                "    Autofiltro = False\n"
                "    NombrarRangos = False\n"
                "    Impresion.Orientacion = opSinCambio\n"
                "    Impresion.PaginasAncho = 0\n"
                "    Impresion.RepetirCabecera = False\n"
                "    Impresion.EncabezadoPie = False\n"
                "    Impresion.MargenIzquierdo = 0\n"
                "    Documento.Titulo = ''\n");
    folder.Write("Explicito.form", form);
    std::filesystem::copy_file(demo / "DemoTabulix.form", folder / "DemoTabulix.form");

    const auto plain = RunTabulix({"DemoTabulix.form", "-o", "plain.xlsx"}, folder.path());
    const auto explicitDefaults = RunTabulix({"Explicito.form", "-o", "defaults.xlsx"}, folder.path());
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    ASSERT_EQ(explicitDefaults.exitCode, 0) << explicitDefaults.err;
    const std::string a = ReadFile(folder / "plain.xlsx"), b = ReadFile(folder / "defaults.xlsx");
    EXPECT_GT(a.size(), 1000u);
    EXPECT_TRUE(a == b) << "the workbooks differ (" << a.size() << " and " << b.size() << " bytes)";
}

}  // namespace
}  // namespace tabulix::cli
