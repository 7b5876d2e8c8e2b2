#pragma once
/// @file
/// TFalloFormula: a formula record that a transfer could not place in its result cell. The
/// transfer goes on past it (the other records and the caption are still placed) and keeps it
/// for the caller in TTabulix::FallosFormulas.

#include <cstdint>
#include <string>

namespace tabulix::component {

/// @brief A formula record the last transfer could not place, and why.
/// @threads A plain value: copies may go to any thread.
struct TFalloFormula {
    std::int32_t Registro = 0;  ///< The record's number in Formulas, from 1.
    std::string Linea;          ///< The record's line as Formulas holds it.
    std::string Formula;        ///< The formula text sent, empty when it could not be built.
    std::string Casilla;        ///< The result cell the formula was meant for.
    std::string Motivo;         ///< Why: the spreadsheet's refusal or the component's own reason.
};

}  // namespace tabulix::component
