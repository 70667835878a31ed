// GameObject: the record of one game object, its name and its slot index in the
// game-object table. Its components live in the component store under the same index.
#pragma once

#include <cstdint>
#include <string>

struct GameObject {
    std::string name;
    std::uint32_t id = 0;
};
