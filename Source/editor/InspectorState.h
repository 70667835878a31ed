// Engine::InspectorState: the inspector's text buffers and popup flags, kept by the editor
// from one frame to the next so that typing and open popups survive the frame.
#pragma once

#include <array>
#include <string>

namespace Engine {

struct InspectorState {
    static constexpr std::size_t BufferSize = 50;

    std::array<char, BufferSize> nameBuffer{};
    std::string loadedName;  // the name last copied into nameBuffer
    bool addingScript = false;
    bool addingEvent = false;
    std::array<char, BufferSize> eventBuffer{};
    std::array<char, BufferSize> scriptBuffer{};
};

}  // namespace Engine
