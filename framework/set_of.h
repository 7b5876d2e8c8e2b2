#pragma once
/// @file
/// SetOf<E>: a set of members of the enumeration E, kept as a bitmask in which bit n stands for
/// the member with ordinal n (the framework's set types: font styles, border lines, ...).

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace tabulix::framework {

template <class E>
class SetOf {
    static_assert(std::is_enum_v<E>, "SetOf needs an enumeration");

public:
    constexpr SetOf() = default;
    constexpr SetOf(std::initializer_list<E> members) {
        for (E m : members) Include(m);
    }
    static constexpr SetOf FromBits(std::uint32_t bits) {
        SetOf s;
        s.bits_ = bits;
        return s;
    }

    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool Contains(E member) const { return (bits_ & bit(member)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr SetOf& Include(E member) {
        bits_ |= bit(member);
        return *this;
    }
    constexpr SetOf& Exclude(E member) {
        bits_ &= ~bit(member);
        return *this;
    }

    friend constexpr bool operator==(SetOf a, SetOf b) { return a.bits_ == b.bits_; }
    friend constexpr SetOf operator|(SetOf a, SetOf b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr SetOf operator&(SetOf a, SetOf b) { return FromBits(a.bits_ & b.bits_); }
    friend constexpr SetOf operator-(SetOf a, SetOf b) { return FromBits(a.bits_ & ~b.bits_); }

private:
    static constexpr std::uint32_t bit(E member) {
        return std::uint32_t{1} << static_cast<unsigned>(static_cast<std::underlying_type_t<E>>(member));
    }

    std::uint32_t bits_ = 0;
};

}  // namespace tabulix::framework
