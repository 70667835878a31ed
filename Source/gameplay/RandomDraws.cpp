#include "gameplay/RandomDraws.h"

#include <exception>
#include <string>
#include <utility>

namespace Engine {

namespace {
// The kernel's entropy pool, read through getrandom, is the platform's random device. The
// library's default token asks the CPU's RDSEED instead, which on virtual machines costs over ten
// times as much per seed: with a fresh seed for every particle that would dominate the frame.
const std::string& DeviceToken()
{
    static const std::string token = [] {
        try {
            std::random_device probe("getentropy");
            return std::string("getentropy");
        } catch (const std::exception&) {
            return std::string("default");
        }
    }();
    return token;
}

std::mt19937::result_type FreshSeed()
{
    std::random_device device(DeviceToken());
    return device();
}
}  // namespace

RandomDraws::RandomDraws() : engine(FreshSeed()) {}

float RandomDraws::Uniform(float low, float high)
{
    // A negative scale (a mirrored object) turns a spread of [-s, s) around: keep the draw defined.
    if (high < low)
        std::swap(low, high);
    std::uniform_real_distribution<float> distribution(low, high);
    return distribution(engine);
}

}  // namespace Engine
