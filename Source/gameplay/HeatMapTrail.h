// The heat map: invisible "HeatMapObj" markers dropped where the player has been, shown all at
// once in the player's colour on request. Lua calls both as SpawnHeatMap and ShowHeatMap; the
// player's "Spawn HeatMap" handler keeps the drops coming, one about every 100 ms.
#pragma once

namespace Engine {

// Drops one marker at the player's position and raises "Spawn HeatMap" on the player 100 ms later.
void SpawnHeatMap();
// Gives every marker a fresh disc sprite in the player's current colour and texture.
void ShowHeatMap();

}  // namespace Engine
