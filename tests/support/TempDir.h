#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return m_path; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // Writes `content` to `name` (created with its parent folders) and returns the full path.
    std::filesystem::path WriteFile(const std::string& name, const std::string& content) const;
    [[nodiscard]] std::string ReadFile(const std::string& name) const;

private:
    std::filesystem::path m_path;
};
