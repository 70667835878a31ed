#include "game/GameSystems.h"

#include "core/EventManager.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "data/ArchetypeManager.h"
#include "game/Scoreboard.h"
#include "gameplay/AnimationUpdate.h"
#include "gameplay/CollisionResolution.h"
#include "gameplay/CollisionUpdate.h"
#include "gameplay/ParallaxSystem.h"
#include "gameplay/ParticleSystem.h"
#include "gameplay/PhysicsUpdate.h"
#include "gameplay/PlayerController.h"
#include "gameplay/PositionUpdate.h"
#include "gameplay/RangeChecking.h"
#include "scripting/ScriptManager.h"

namespace Engine {

void AddGameSystems(SystemManager& registry)
{
    registry.Add<PhysicsUpdate>("PhysicsUpdate");
    registry.Add<CollisionUpdate>("CollisionUpdate");
    registry.Add<CollisionResolution>("CollisionResolution");
    registry.Add<PositionUpdate>("PositionUpdate");
    registry.Add<PlayerController>("PlayerController");
    registry.Add<TimerDatabase>("TimerDatabase");
    registry.Add<SoundSystem>("SoundSystem");
    registry.Add<ScriptManager>("ScriptManager");
    registry.Add<EventManager>("EventManager");
    registry.Add<ArchetypeManager>("ArchetypeManager");
    registry.Add<Scoreboard>("Scoreboard");
    registry.Add<AnimationUpdate>("AnimationUpdate");
    registry.Add<ParallaxSystem>("ParallaxSystem");
    registry.Add<RangeChecking>("RangeChecking");
    registry.Add<ParticleSystem>("ParticleSystem");
}

}  // namespace Engine
