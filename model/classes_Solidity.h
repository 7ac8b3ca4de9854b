#pragma once

#include <cstdint>

#include "model/ObjectList.h"

// One entry of a background page's solidity table: tiles up to UpToTile have type TileType.
class TSolidity {
public:
    TSolidity() = default;
    TSolidity(uint8_t upTo, uint8_t type) : UpToTile(upTo), TileType(type) {}
    uint8_t UpToTile = 0;
    uint8_t TileType = 0;
};

using TSolidityList = TObjectList<TSolidity>;
