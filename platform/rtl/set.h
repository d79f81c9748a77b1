#pragma once
// A small set of enumeration values, as the class library's `set of` types (TFontStyles, TShiftState, ...).
// The enumeration's values must lie in 0..63.
#include <cstdint>
#include <initializer_list>

template <typename Enum>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<Enum> AValues)
    {
        for (Enum v : AValues) FBits |= Bit(v);
    }

    constexpr bool Contains(Enum AValue) const { return (FBits & Bit(AValue)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(Enum AValue) { FBits |= Bit(AValue); return *this; }
    constexpr TSet& Exclude(Enum AValue) { FBits &= ~Bit(AValue); return *this; }
    constexpr uint64_t Bits() const { return FBits; }
    static constexpr TSet FromBits(uint64_t ABits) { TSet s; s.FBits = ABits; return s; }

    constexpr TSet operator+(TSet AOther) const { return FromBits(FBits | AOther.FBits); }
    constexpr TSet operator-(TSet AOther) const { return FromBits(FBits & ~AOther.FBits); }
    constexpr TSet operator*(TSet AOther) const { return FromBits(FBits & AOther.FBits); }
    constexpr TSet& operator+=(TSet AOther) { FBits |= AOther.FBits; return *this; }
    constexpr TSet& operator-=(TSet AOther) { FBits &= ~AOther.FBits; return *this; }
    constexpr TSet& operator*=(TSet AOther) { FBits &= AOther.FBits; return *this; }
    constexpr bool operator<=(TSet AOther) const { return (FBits & ~AOther.FBits) == 0; }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr uint64_t Bit(Enum AValue) { return uint64_t{1} << static_cast<unsigned>(AValue); }
    uint64_t FBits = 0;
};
