#pragma once
// Small sets of enumeration values, as the framework's set types
// (ComponentState, ControlStyle, locate options, shift states).

#include "host/core/Export.h"

#include <cstdint>
#include <initializer_list>

VESKAR_PUBLIC_BEGIN

namespace host {

template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items) Include(e);
    }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr std::uint64_t Bits() const { return FBits; }

    constexpr TSet operator+(TSet o) const { TSet r; r.FBits = FBits | o.FBits; return r; }
    constexpr TSet operator-(TSet o) const { TSet r; r.FBits = FBits & ~o.FBits; return r; }
    constexpr TSet operator*(TSet o) const { TSet r; r.FBits = FBits & o.FBits; return r; }
    constexpr TSet& operator+=(TSet o) { FBits |= o.FBits; return *this; }
    constexpr TSet& operator-=(TSet o) { FBits &= ~o.FBits; return *this; }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr std::uint64_t Bit(E e) { return std::uint64_t{1} << static_cast<unsigned>(e); }
    std::uint64_t FBits = 0;
};

} // namespace host

VESKAR_PUBLIC_END
