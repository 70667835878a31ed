// An idle frame allocates nothing: the real game, headless through its own frame loop, with
// the player standing in "Level 1". This executable replaces the global operator new to count
// the C++ allocations of the game's thread (Mesa's and Lua's own allocations go through malloc
// and are not counted), so it runs apart from the other game tests.
#include "GameDriver.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/GameObjectTable.h"
#include "data/LevelManager.h"
#include "game/GameState.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <execinfo.h>
#include <new>
#include <unistd.h>

namespace {

// Only the thread that counts is counted: the image decoders and the sound preloader work
// on threads of their own in the first frames.
thread_local bool countingHere = false;
thread_local bool inTrace = false;
std::size_t allocations = 0;

void Counted()
{
    if (!countingHere || inTrace)
        return;
    ++allocations;
    if (std::getenv("VANTREL_TRACE_ALLOCATIONS") != nullptr) {
        inTrace = true;
        void* frames[24];
        const int depth = backtrace(frames, 24);
        std::fprintf(stderr, "--- allocation %zu\n", allocations);
        backtrace_symbols_fd(frames, depth, STDERR_FILENO);
        inTrace = false;
    }
}

void* Allocate(std::size_t size)
{
    Counted();
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment)
{
    Counted();
    const auto align = static_cast<std::size_t>(alignment);
    if (void* block = std::aligned_alloc(align, (size + align - 1) / align * align))
        return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void* operator new(std::size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }

namespace {

std::size_t AllocationsOver(EndToEnd::GameDriver& driver, int frames)
{
    allocations = 0;
    countingHere = true;
    driver.QuietFrames(frames);
    countingHere = false;
    return allocations;
}

}  // namespace

// From the splash through the main menu's Start into "Level 1"; the player is left alone and
// stands where the level starts. Once the first frames have made what the level needs
// (rows, queues, batches) and the log's repeat window over the level's loading lines has
// ended, ten seconds of play allocate nothing.
TEST(IdleFrame, StandingInTheFirstLevelAllocatesNothing)
{
    EndToEnd::GameDriver driver;
    ASSERT_TRUE(driver.FramesUntil([] { return GameStateIndex == 1; }, 600)) << "the splash leads to the main menu";
    driver.Frames(3);
    driver.Tap(SDLK_RETURN);  // Start
    ASSERT_EQ(GameStateIndex, 3);
    ASSERT_EQ(Engine::LevelManager::Instance().currentLevel, "Level 1");
    driver.QuietFrames(6 * 60);

    EXPECT_EQ(AllocationsOver(driver, 600), 0u) << "VANTREL_TRACE_ALLOCATIONS=1 prints where each one came from";

    const std::uint32_t player = Engine::GameObjectTable::Instance().FindGameObject("Player");
    const auto* controller = Engine::ComponentStore::Instance().GetComponent<Engine::Controller>(player);
    ASSERT_NE(controller, nullptr);
    EXPECT_FALSE(controller->isDead) << "the player stood through the frames";
}
