#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "model/ObjectList.h"

// One special object of a stage: an eight-byte record, rewritten in place on save.
class TSpecObj {
public:
    int16_t X() const { return x_; }
    int16_t Y() const { return y_; }
    void SetX(int v) { x_ = static_cast<int16_t>(v); }
    void SetY(int v) { y_ = static_cast<int16_t>(std::min(v, 239)); }

    bool operator==(const TSpecObj&) const = default;

    uint8_t Screen = 0;
    uint8_t Kind = 0;
    std::array<uint8_t, 4> Extra{};

private:
    int16_t x_ = 0;
    int16_t y_ = 0;
};

using TSpecObjList = TObjectList<TSpecObj>;
