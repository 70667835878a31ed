// Platform::QuitRequest: a quit asked for by SIGINT or SIGTERM, which may arrive while a script
// is deep inside a long call. The window's signal handler raises it; the next pump turns it
// into the quit event, and until the frame loop has ended every entry into Lua stops at once.
#pragma once

namespace Platform {

class QuitRequest {
public:
    // Safe to call from a signal handler.
    static void Raise() noexcept;
    // A quit is pending: running script calls end, and new ones do not start.
    static bool Pending() noexcept;
    // True once for every Raise: the pump posts the quit event for it.
    static bool TakeSignal() noexcept;
    // The frame loop has ended; the game may run again (tests run it frame by frame).
    static void Clear() noexcept;
};

}  // namespace Platform
