#pragma once

#include <spawn.h>

// Owners of the posix_spawn setup records, so every start path releases them.

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&m_actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&m_actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    [[nodiscard]] posix_spawn_file_actions_t* Get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

enum class SpawnGroup { Inherit, OwnGroup };

class SpawnAttributes {
public:
    // The child starts with nothing blocked and default dispositions for the signals a parent
    // commonly ignores or handles; with OwnGroup it leads a process group of its own, so that it
    // can be ended together with whatever it starts.
    explicit SpawnAttributes(SpawnGroup group = SpawnGroup::Inherit);
    ~SpawnAttributes() { posix_spawnattr_destroy(&m_attributes); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    [[nodiscard]] posix_spawnattr_t* Get() { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes;
};
