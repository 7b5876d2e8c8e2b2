#pragma once
/// @file
/// SetOf<E>: a set of members of the enumeration E, kept as a bitmask in which bit n stands for
/// the member with ordinal n (the framework's set types: font styles, border lines, ...).

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace tabulix::framework {

/// @brief A set of members of the enumeration E, kept as a bitmask in which bit n stands for
/// the member with ordinal n.
/// @threads A value.
template <class E>
class SetOf {
    static_assert(std::is_enum_v<E>, "SetOf needs an enumeration");

public:
    /// The empty set.
    constexpr SetOf() = default;
    /// The set of the given members: `{fsBold, fsItalic}`.
    /// @param members the members.
    constexpr SetOf(std::initializer_list<E> members) {
        for (E m : members) Include(m);
    }
    /// The set of a bitmask.
    /// @param bits bit n for the member of ordinal n.
    static constexpr SetOf FromBits(std::uint32_t bits) {
        SetOf s;
        s.bits_ = bits;
        return s;
    }

    /// The bitmask: bit n for the member of ordinal n.
    constexpr std::uint32_t Bits() const { return bits_; }
    /// Whether a member is in the set.
    /// @param member the member.
    constexpr bool Contains(E member) const { return (bits_ & bit(member)) != 0; }
    /// Whether the set is empty.
    constexpr bool Empty() const { return bits_ == 0; }
    /// Adds a member.
    /// @param member the member.
    constexpr SetOf& Include(E member) {
        bits_ |= bit(member);
        return *this;
    }
    /// Removes a member.
    /// @param member the member.
    constexpr SetOf& Exclude(E member) {
        bits_ &= ~bit(member);
        return *this;
    }

    /// Whether two sets hold the same members.
    friend constexpr bool operator==(SetOf a, SetOf b) { return a.bits_ == b.bits_; }
    /// The union of two sets.
    friend constexpr SetOf operator|(SetOf a, SetOf b) { return FromBits(a.bits_ | b.bits_); }
    /// The members two sets share.
    friend constexpr SetOf operator&(SetOf a, SetOf b) { return FromBits(a.bits_ & b.bits_); }
    /// The members of the first set that are not in the second.
    friend constexpr SetOf operator-(SetOf a, SetOf b) { return FromBits(a.bits_ & ~b.bits_); }

private:
    static constexpr std::uint32_t bit(E member) {
        return std::uint32_t{1} << static_cast<unsigned>(static_cast<std::underlying_type_t<E>>(member));
    }

    std::uint32_t bits_ = 0;
};

}  // namespace tabulix::framework
