// The enemy respawn behind the Lua function RespawnEnemies: every object with a Range
// (an enemy) is removed and the "Enemy" entries of the current level's file are created
// again, as the file describes them. Scripts call it when the player dies.
#pragma once

namespace Engine {

// Respawns the enemies of the level that GameStateIndex names. A level that cannot be
// found changes nothing; a malformed file keeps the enemies made before the fault.
void RespawnEnemies();

}  // namespace Engine
