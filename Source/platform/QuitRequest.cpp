#include "platform/QuitRequest.h"

#include <csignal>

namespace Platform {

namespace {
// Written by a signal handler, so plain flags of the one type the handler may write.
volatile std::sig_atomic_t pending = 0;
volatile std::sig_atomic_t signalled = 0;
}  // namespace

void QuitRequest::Raise() noexcept
{
    pending = 1;
    signalled = 1;
}

bool QuitRequest::Pending() noexcept { return pending != 0; }

bool QuitRequest::TakeSignal() noexcept
{
    if (signalled == 0)
        return false;
    signalled = 0;
    return true;
}

void QuitRequest::Clear() noexcept
{
    pending = 0;
    signalled = 0;
}

}  // namespace Platform
