// The routes by which the readers of the game's files reach the game's systems: a level load's
// steps on the particles and the heat map (Engine::LevelLoadSteps), and the reader the animation
// update asks for while its table is empty (Engine::AnimationTable). Game::Init installs them,
// as the test and benchmark mains do, before the first level loads.
#pragma once

namespace Engine {

void InstallLevelRoutes();

}  // namespace Engine
