#pragma once

#include <algorithm>
#include <cstdint>

#include "model/ObjectList.h"

// One enemy of a stage: a three-byte record (X, Y + 16, flags) in its screen's list.
class TEnemy {
public:
    TEnemy() = default;
    TEnemy(int x, int y, uint8_t flags, int screen) : Flags(flags), Screen(static_cast<int16_t>(screen)) {
        SetX(x);
        SetY(y);
    }
    int16_t X() const { return x_; }
    int16_t Y() const { return y_; }
    // 255 would end the screen's list when read back, so X stays within 0..254.
    void SetX(int v) { x_ = static_cast<int16_t>(std::clamp(v, 0, 254)); }
    // The record holds Y + 16 in one byte.
    void SetY(int v) { y_ = static_cast<int16_t>(std::clamp(v, -16, 239)); }

    uint8_t TypeSlot() const { return Flags & 7; }
    bool UnknownBit1() const { return Flags & 0x80; }
    bool UnknownBit2() const { return Flags & 0x40; }
    bool UnknownBit3() const { return Flags & 0x20; }
    bool UnknownBit4() const { return Flags & 0x10; }
    bool UnknownBit5() const { return Flags & 0x08; }

    bool operator==(const TEnemy&) const = default;

    uint8_t Flags = 0;
    int16_t Screen = 0;

private:
    int16_t x_ = 0;
    int16_t y_ = 0;
};

using TEnemyList = TObjectList<TEnemy>;
