#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

// Sets environment variables for a test and puts every one back as it was when the object goes.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

    void Set(const std::string& name, const std::string& value)
    {
        Save(name);
        setenv(name.c_str(), value.c_str(), 1);
    }

    void Unset(const std::string& name)
    {
        Save(name);
        unsetenv(name.c_str());
    }

private:
    void Save(const std::string& name)
    {
        if (m_saved.count(name))
            return;
        const char* value = std::getenv(name.c_str());
        m_saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }

    std::map<std::string, std::optional<std::string>> m_saved;
};
