// libFuzzer target for formula-record expansion: the input's lines become a component's
// formula list over the demonstration's nine fields, and every record is taken apart and
// expanded (fields, function names, the formula text with its #Fnn# and #T_FIELD# placeholders,
// the result cell). A record whose number fields are no numbers raises EConvertError; anything
// else escaping, a crash, a sanitizer report or a hang is a bug.
//
// Input: the first byte sets the data rows of the "last transfer" and the range of the second
// form of Formula; the rest is the formula list, one record per line.

#include <cstddef>
#include <cstdint>
#include <string>

#include "component/tests/demo_fixture.h"
#include "framework/convert.h"

using namespace tabulix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One component that never transfers (data rows 0) and one that transfers before each input.
    static component::testing::DemoComponent untransferred;
    static component::testing::DemoComponent transferred;
    const std::uint8_t settings = size > 0 ? data[0] : 0;
    const std::string text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);
    component::testing::TestableTabulix& tabulix = settings & 0x80 ? *untransferred.tabulix : *transferred.tabulix;
    component::TFormulaTabulix& list = tabulix.Formulas();
    list.Clear();
    if (!(settings & 0x80)) component::testing::TransferRows(tabulix, 3, 3 + (settings & 0x3F));
    list.SetText(text);

    for (std::int32_t i = 0; i <= list.CuantasFormulas() + 1; ++i) {
        list.Campo(i + 1);
        list.Columna(i + 1);
        list.Texto(i + 1);
        tabulix.CasillaFormula(i);
        try {
            list.IncrementoFila(i + 1);
            list.Situacion(i + 1);
            list.Alineacion(i + 1);
            list.NombreFuncion(list.IncrementoFila(i + 1));
        } catch (const framework::EConvertError&) {
        }
        if (i < 1 || i > list.CuantasFormulas()) continue;
        try {
            list.Formula(i);
            list.Formula(i, 1 + settings % 30, 1, 2 + settings % 40, 1048576);
        } catch (const framework::EConvertError&) {
        }
        list.FormulaPropia(i);
    }
    return 0;
}
