#include "core/ParticleRecords.h"

namespace Engine {

ParticleRecords& ParticleRecords::Instance()
{
    static ParticleRecords records;
    return records;
}

}  // namespace Engine
