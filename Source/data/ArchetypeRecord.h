// ArchetypeRecord: a named template of components from which the editor makes new objects;
// Engine::LevelManager loads the records from the archetype file and owns them. The embedded
// components belong to no object (owner 0).
#pragma once

#include "core/Animation.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"

#include <cstdint>
#include <string>

struct ArchetypeRecord {
    std::string name = "Name";
    Engine::Transform transform;
    Engine::Sprite sprite;
    Engine::RigidBody rigidBody;
    Engine::Controller controller;
    Engine::Parallax parallax;
    Engine::Animation animation;
    Engine::EventSet eventSet;
    Engine::Range range;
    std::uint32_t instanceCount = 0;  // objects the editor has made from this record
};
