// Small type ids handed out on first use, one counter per family (components, systems).
// They index the component store's rows and the system registry's slots.
#pragma once

#include <cstdint>

namespace Engine {

template <typename Family>
class FamilyId {
public:
    template <typename T>
    static std::uint32_t Of()
    {
        static const std::uint32_t id = counter++;
        return id;
    }

private:
    static inline std::uint32_t counter = 0;
};

}  // namespace Engine
