#include "game/ScreenObjects.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "graphics/Camera.h"

namespace Engine::ScreenObjects {

namespace {

template <typename T>
T* ComponentOf(std::uint32_t id)
{
    return id < MaxGameObjects ? ComponentStore::Instance().GetComponent<T>(id) : nullptr;
}

std::uint32_t Find(const std::string& name) { return GameObjectTable::Instance().FindGameObject(name); }

}  // namespace

Sprite* SpriteOf(const std::string& name) { return ComponentOf<Sprite>(Find(name)); }

Transform* TransformOf(const std::string& name) { return ComponentOf<Transform>(Find(name)); }

bool Exists(const std::string& name) { return Find(name) != InvalidObjectId; }

bool Shows(const std::string& name, const std::string& image)
{
    const Sprite* sprite = SpriteOf(name);
    return sprite != nullptr && sprite->Texture == image;
}

void Show(const std::string& name, const std::string& image)
{
    if (Sprite* sprite = SpriteOf(name))
        sprite->Texture = image;
}

void Remove(std::span<const char* const> names)
{
    GameObjectTable& table = GameObjectTable::Instance();
    for (const char* name : names) {
        const std::uint32_t id = table.FindGameObject(name);
        if (id != InvalidObjectId)
            table.RemoveGameObject(id);
    }
}

void Create(std::span<const Part> parts, float x, float y)
{
    GameObjectTable& table = GameObjectTable::Instance();
    ComponentStore& store = ComponentStore::Instance();
    for (const Part& part : parts) {
        const std::uint32_t id = table.CreateGameObject(part.name);
        if (id == InvalidObjectId)
            continue;  // a full table: the dialog works with the parts that exist
        store.AddComponent<Transform>(id);
        store.AddComponent<Sprite>(id);
        Transform* transform = store.GetComponent<Transform>(id);
        transform->x_pos = x + part.dx;
        transform->y_pos = y + part.dy;
        transform->z_pos = part.z;
        transform->x_sca = part.xScale;
        transform->y_sca = part.yScale;
        Sprite* sprite = store.GetComponent<Sprite>(id);
        sprite->Texture = part.image;
        for (std::size_t channel = 0; channel < part.colour.size(); ++channel)
            sprite->Color[channel] = part.colour[channel];
    }
}

void ViewCentre(float& x, float& y)
{
    const Camera& camera = *Camera::Instance();
    x = camera.eye[0];
    y = camera.eye[1];
}

void Highlight(std::span<const Button> buttons, std::int32_t selection)
{
    if (selection < 0 || static_cast<std::size_t>(selection) >= buttons.size())
        return;
    const Button& selected = buttons[static_cast<std::size_t>(selection)];
    const Sprite* sprite = SpriteOf(selected.name);
    if (sprite == nullptr || sprite->Texture == selected.highlighted)
        return;
    for (std::size_t index = 0; index < buttons.size(); ++index) {
        const Button& button = buttons[index];
        Show(button.name, index == static_cast<std::size_t>(selection) ? button.highlighted : button.image);
    }
}

}  // namespace Engine::ScreenObjects
