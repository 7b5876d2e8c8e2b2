// The command's options for the report's finish: parsed with the rest of the command line and
// laid onto the component over what its form file says.

#include <gtest/gtest.h>

#include "cli/command_line.h"
#include "cli/finish_options.h"
#include "cli/tests/cli_test_support.h"
#include "component/tabulix.h"

namespace tabulix::cli {
namespace {

using component::TOrientacionPagina;
using testing::UsageErrorOf;

TEST(FinishOptions, FinishedTurnsOnTheUsualSetAndSingleOptionsWin) {
    const CommandLine line =
        ParseCommandLine({"--dbf", "Demo.DBF", "--title", "VENTAS", "--orientation=portrait", "--finished",
                          "--freeze-columns", "2", "--margins", "1.5,1,2,2.5"});
    component::TTabulix tabulix(nullptr);
    tabulix.Titulo = "VENTAS";
    ApplyFinishOptions(line.finish, tabulix);
    EXPECT_TRUE(tabulix.InmovilizarCabecera);
    EXPECT_EQ(tabulix.InmovilizarColumnas, 2);
    EXPECT_TRUE(tabulix.Autofiltro);
    EXPECT_TRUE(tabulix.NombrarRangos);
    EXPECT_EQ(tabulix.Impresion().Orientacion, TOrientacionPagina::opVertical);  // given on its own: wins
    EXPECT_EQ(tabulix.Impresion().PaginasAncho, 1);
    EXPECT_TRUE(tabulix.Impresion().RepetirCabecera);
    EXPECT_TRUE(tabulix.Impresion().EncabezadoPie);
    EXPECT_DOUBLE_EQ(tabulix.Impresion().MargenIzquierdo, 1.5);
    EXPECT_DOUBLE_EQ(tabulix.Impresion().MargenDerecho, 1);
    EXPECT_DOUBLE_EQ(tabulix.Impresion().MargenSuperior, 2);
    EXPECT_DOUBLE_EQ(tabulix.Impresion().MargenInferior, 2.5);
    EXPECT_EQ(tabulix.Documento().Titulo, "VENTAS");  // the report's title, for want of another

    // A form file's own document title stays; --doc-title replaces it.
    component::TTabulix fromForm(nullptr);
    fromForm.Titulo = "VENTAS";
    fromForm.Documento().Titulo = "Informe de ventas";
    ApplyFinishOptions(ParseCommandLine({"x.form", "--finished", "--author", "Ana"}).finish, fromForm);
    EXPECT_EQ(fromForm.Documento().Titulo, "Informe de ventas");
    EXPECT_EQ(fromForm.Documento().Autor, "Ana");
    ApplyFinishOptions(ParseCommandLine({"x.form", "--doc-title", "Otro", "--margins=1"}).finish, fromForm);
    EXPECT_EQ(fromForm.Documento().Titulo, "Otro");
    EXPECT_DOUBLE_EQ(fromForm.Impresion().MargenInferior, 1);
}

TEST(FinishOptions, NoneGivenLeavesTheFormFilesSettings) {
    component::TTabulix tabulix(nullptr);
    tabulix.Autofiltro = true;
    tabulix.Impresion().PaginasAncho = 3;
    ApplyFinishOptions(ParseCommandLine({"x.form"}).finish, tabulix);
    EXPECT_TRUE(tabulix.Autofiltro);
    EXPECT_FALSE(tabulix.InmovilizarCabecera);
    EXPECT_EQ(tabulix.Impresion().PaginasAncho, 3);
    EXPECT_EQ(tabulix.Impresion().Orientacion, TOrientacionPagina::opSinCambio);
    EXPECT_FALSE(tabulix.Documento().Activo());
}

TEST(FinishOptions, BadValuesAreRefusedNamingTheOption) {
    EXPECT_NE(UsageErrorOf({"x.form", "--orientation", "sideways"}).find("--orientation"), std::string::npos);
    EXPECT_NE(UsageErrorOf({"x.form", "--fit-width", "0"}).find("--fit-width"), std::string::npos);
    EXPECT_NE(UsageErrorOf({"x.form", "--fit-width", "2x"}).find("'2x'"), std::string::npos);
    EXPECT_NE(UsageErrorOf({"x.form", "--freeze-columns", "-1"}).find("--freeze-columns"), std::string::npos);
    EXPECT_NE(UsageErrorOf({"x.form", "--margins", "1,2,3"}).find("four"), std::string::npos);
    EXPECT_NE(UsageErrorOf({"x.form", "--margins", "0"}).find("--margins"), std::string::npos);
    EXPECT_NE(UsageErrorOf({"x.form", "--finished=yes"}).find("takes no value"), std::string::npos);
    EXPECT_NE(UsageErrorOf({"x.form", "--freeze", "--freeze"}).find("more than once"), std::string::npos);
    EXPECT_NE(UsageErrorOf({"x.form", "--author"}).find("needs a value"), std::string::npos);
    EXPECT_NE(UsageText().find("--finished"), std::string::npos);
}

}  // namespace
}  // namespace tabulix::cli
