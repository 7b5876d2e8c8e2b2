#pragma once
/// @file
/// The component's enumerations and the chart gallery table. Each enumeration is one byte; in
/// the sets bit n stands for the member of ordinal n.

#include <array>
#include <cstdint>

#include "framework/set_of.h"

namespace tabulix::component {

/// The weight of border lines: thin, medium, thick.
enum class TGrosorLinia : std::uint8_t { glDelgada, glMedia, glGruesa };

/// The outer edges of a block: left, right, top, bottom.
enum class TLiniaContorno : std::uint8_t { lcIzquierda, lcDerecha, lcSuperior, lcInferior };

/// Lines inside a block: each cell's left, right, top and bottom edges, its two diagonals (down
/// and up), and the lines between the block's columns and between its rows.
enum class TLiniaInterior : std::uint8_t {
    liFiloIzquierdo,
    liFiloDerecho,
    liFiloSuperior,
    liFiloInferior,
    liDiagonalAbajo,
    liDiagonalArriba,
    liInteriorVertical,
    liInteriorHorizontal
};

/// A set of outer edges.
using TLiniasContorno = framework::SetOf<TLiniaContorno>;
/// A set of inside lines.
using TLiniasInterior = framework::SetOf<TLiniaInterior>;

/// The kinds of chart CrearGrafico draws: column, line, bar, surface, pie and area, each flat
/// or in 3-D, and radar.
enum class TTipoGrafico : std::uint8_t {
    xlColumn,
    xl3DColumn,
    xlLine,
    xl3DLine,
    xlBar,
    xl3DBar,
    xlSurface,
    xl3DSurface,
    xlPie,
    xl3DPie,
    xlArea,
    xl3DArea,
    xlRadar
};

/// The spreadsheet's chart gallery code of each chart type, indexed by ordinal.
inline constexpr std::array<std::int32_t, 13> TTipoGraficoValor = {
    3, -4100, 4, -4101, 2, -4099, 83, -4103, 5, -4102, 1, -4098, -4151};

/// How a block is read as series: each row (sent as plot-by 1) or each column (2).
enum class TColumna_Fila : std::uint8_t { xlEnFila, xlEnColumna };

}  // namespace tabulix::component
