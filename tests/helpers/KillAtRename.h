// For helpers a test kills at every step of their work: with
// KALMORA_KILL_AT_RENAME=N in the environment, the helper kills itself just
// before its N-th rename. Include it in the helper's one source file only: it
// takes the place of the C library's rename for the whole helper, the data
// files' code included.
#pragma once

#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <stdio.h>

namespace KillAtRename {
inline int remaining = 0; // 0: never

inline void arm()
{
    if (const char *step = std::getenv("KALMORA_KILL_AT_RENAME"))
        remaining = std::atoi(step);
}
}

int rename(const char *from, const char *to) noexcept
{
    if (KillAtRename::remaining > 0 && --KillAtRename::remaining == 0)
        std::raise(SIGKILL);
    return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}
