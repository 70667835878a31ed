#include "gameplay/AnimationUpdate.h"

#include "core/Animation.h"
#include "core/ComponentStore.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"

#include <utility>

namespace Engine {

namespace {

void Step(Animation& animation, const AnimationData& definition)
{
    // A looping animation without a positive delay could never leave the loop below.
    if (definition.looping && definition.frameDelay <= 0.0f)
        return;
    animation.timer -= FrameDeltaTime;
    while (animation.timer <= 0.0f && animation.playing) {
        animation.frame += 1;
        if (animation.frame < definition.frameCount) {
            animation.timer += definition.frameDelay;
        } else if (definition.looping) {
            animation.frame = 0;
            animation.timer += definition.frameDelay;
        } else {
            animation.frame = definition.frameCount - 1;
            animation.playing = false;
            animation.timer = 0.0f;
        }
    }
}

}  // namespace

void AnimationUpdate::Init() {}

void AnimationUpdate::Update()
{
    // Asked again every frame while nothing is registered (a missing file logs each time).
    if (animations.empty())
        AnimationTable::ReadFile();

    AnimationTable& table = AnimationTable::Instance();
    ComponentStore& store = ComponentStore::Instance();
    const std::uint32_t last = GameObjectTable::Instance().highestUsed;
    for (std::uint32_t id = 0; id <= last && id < MaxGameObjects; ++id) {
        Animation* animation = store.GetComponent<Animation>(id);
        if (animation == nullptr)
            continue;

        const AnimationData& definition = table.Definition(animation->GetHandle());
        if (animation->restart) {
            animation->frame = 0;
            animation->timer = definition.frameDelay;
            animation->playing = true;
            animation->restart = false;
        }
        if (definition.columns == 0 || definition.rows == 0)
            continue;

        // The cell shown this frame is the one current before stepping.
        const auto frame = static_cast<std::uint32_t>(animation->frame);
        const auto columns = static_cast<std::uint32_t>(definition.columns);
        const auto rows = static_cast<std::uint32_t>(definition.rows);
        animation->u = (1.0f / static_cast<float>(columns)) * static_cast<float>(frame % columns);
        animation->v = (1.0f / static_cast<float>(rows)) * static_cast<float>(frame / columns);

        if (animation->playing)
            Step(*animation, definition);
    }
}

void AnimationUpdate::Shutdown() { animations.clear(); }

const AnimationData& AnimationUpdate::Definition(const std::string& handle)
{
    return AnimationTable::Instance().Definition(handle);
}

void AnimationUpdate::AddAnimation(const std::string& name, AnimationData data)
{
    AnimationTable::Instance().Add(name, std::move(data));
}

}  // namespace Engine
