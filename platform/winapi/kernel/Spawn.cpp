#include "platform/winapi/kernel/Spawn.h"

#include <signal.h>

#include <initializer_list>

SpawnAttributes::SpawnAttributes(SpawnGroup group)
{
    posix_spawnattr_init(&m_attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&m_attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGCHLD, SIGTERM, SIGINT, SIGHUP})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&m_attributes, &defaults);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (group == SpawnGroup::OwnGroup) {
        posix_spawnattr_setpgroup(&m_attributes, 0);
        flags |= POSIX_SPAWN_SETPGROUP;
    }
    posix_spawnattr_setflags(&m_attributes, flags);
}
