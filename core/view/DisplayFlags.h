#pragma once

// The derived curves shown with the curve (the three boxes of the main window).
enum DisplayFlag : int {
    Derivative1 = 1,
    Derivative2 = 2,
    Integral = 4
};

// A set of DisplayFlag; the empty set shows the curve alone.
class DisplayFlags {
public:
    constexpr DisplayFlags() = default;
    constexpr DisplayFlags(DisplayFlag flag) : bits_(flag) { }
    // The flags whose bits `bits` holds; other bits mean nothing and are dropped.
    static constexpr DisplayFlags fromBits(int bits)
    {
        DisplayFlags flags;
        flags.bits_ = bits & (Derivative1 | Derivative2 | Integral);
        return flags;
    }

    constexpr bool has(DisplayFlag flag) const { return (bits_ & flag) != 0; }
    constexpr bool hasAny(DisplayFlags flags) const { return (bits_ & flags.bits_) != 0; }
    constexpr DisplayFlags with(DisplayFlags flags) const { return fromBits(bits_ | flags.bits_); }
    constexpr DisplayFlags without(DisplayFlags flags) const { return fromBits(bits_ & ~flags.bits_); }
    constexpr int bits() const { return bits_; }

    friend constexpr bool operator==(DisplayFlags, DisplayFlags) = default;

private:
    int bits_ = 0;
};

constexpr DisplayFlags operator|(DisplayFlags a, DisplayFlags b)
{
    return a.with(b);
}
constexpr DisplayFlags operator|(DisplayFlag a, DisplayFlag b)
{
    return DisplayFlags(a).with(b);
}
