// Finding, changing, creating and removing the named objects that the screens and dialogs
// are made of. A screen is a level whose objects are looked up by name (the lowest id of
// that name); a dialog is a set of objects created when it opens. A missing object is skipped.
#pragma once

#include "core/ComponentStore.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "graphics/Camera.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace Engine::ScreenObjects {

Sprite* SpriteOf(const std::string& name);
Transform* TransformOf(const std::string& name);
bool Exists(const std::string& name);

// True when the object's sprite shows this image.
bool Shows(const std::string& name, const std::string& image);
void Show(const std::string& name, const std::string& image);

// Removes the lowest-id object of each name, in order.
void Remove(std::span<const char* const> names);

// One object of a dialog: a Transform and a Sprite, placed relative to the dialog's origin.
struct Part {
    const char* name;
    float dx;
    float dy;
    float z;
    float xScale;
    float yScale;
    const char* image;  // may be empty: the dialog's highlight step sets it
    std::array<float, 4> colour = {1.0f, 1.0f, 1.0f, 1.0f};
};

// Creates each part in order around (x, y).
void Create(std::span<const Part> parts, float x, float y);

// A component of the object the camera follows (the player), or null.
template <typename T>
T* FollowedComponent()
{
    const std::int32_t followed = Camera::Instance()->followedObjectId;
    if (followed < 0)
        return nullptr;
    return ComponentStore::Instance().GetComponent<T>(static_cast<std::uint32_t>(followed));
}

// Where the camera looks: dialogs open there, so that they show whatever the camera follows
// (a player just respawned elsewhere, or the level's overview).
void ViewCentre(float& x, float& y);

// A button that swaps between two images as the highlight moves.
struct Button {
    const char* name;
    const char* image;
    const char* highlighted;
};

// When the selected button does not show its highlighted image yet, it gets it and every
// other button its plain image; otherwise nothing changes.
void Highlight(std::span<const Button> buttons, std::int32_t selection);

}  // namespace Engine::ScreenObjects
