#pragma once
// A formula record that a transfer could not place in its result cell. The transfer goes on
// past it (the other records and the caption are still placed) and keeps it for the caller.

#include <cstdint>
#include <string>

namespace tabulix::component {

struct TFalloFormula {
    std::int32_t Registro = 0;  // the record's number in Formulas, from 1
    std::string Linea;          // the record's line as Formulas holds it
    std::string Formula;        // the formula text sent, empty when it could not be built
    std::string Casilla;        // the result cell the formula was meant for
    std::string Motivo;         // why: the spreadsheet's refusal or the component's own reason
};

}  // namespace tabulix::component
