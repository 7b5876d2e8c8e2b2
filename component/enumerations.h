#pragma once
// The component's enumerations and the chart gallery table. Each enumeration is one byte; the
// sets are one byte with bit n standing for the member of ordinal n.

#include <array>
#include <cstdint>

namespace tabulix::component {

enum class TGrosorLinia : std::uint8_t { glDelgada, glMedia, glGruesa };

enum class TLiniaContorno : std::uint8_t { lcIzquierda, lcDerecha, lcSuperior, lcInferior };

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

// A one-byte set of enumeration members.
template <class Enum>
class ByteSet {
public:
    constexpr ByteSet() = default;
    constexpr ByteSet(std::initializer_list<Enum> members) {
        for (Enum m : members) include(m);
    }
    static constexpr ByteSet fromBits(std::uint8_t bits) { ByteSet s; s.bits_ = bits; return s; }

    constexpr bool contains(Enum m) const { return (bits_ >> static_cast<unsigned>(m)) & 1u; }
    constexpr void include(Enum m) { bits_ = static_cast<std::uint8_t>(bits_ | (1u << static_cast<unsigned>(m))); }
    constexpr void exclude(Enum m) { bits_ = static_cast<std::uint8_t>(bits_ & ~(1u << static_cast<unsigned>(m))); }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr std::uint8_t bits() const { return bits_; }
    constexpr bool operator==(const ByteSet&) const = default;

private:
    std::uint8_t bits_ = 0;
};

using TLiniasContorno = ByteSet<TLiniaContorno>;
using TLiniasInterior = ByteSet<TLiniaInterior>;

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

// The spreadsheet's chart gallery code of each chart type, indexed by ordinal.
inline constexpr std::array<std::int32_t, 13> TTipoGraficoValor = {
    3, -4100, 4, -4101, 2, -4099, 83, -4103, 5, -4102, 1, -4098, -4151};

// How a block is read as series: each row (sent as plot-by 1) or each column (2).
enum class TColumna_Fila : std::uint8_t { xlEnFila, xlEnColumna };

}  // namespace tabulix::component
