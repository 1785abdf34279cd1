#pragma once

#include <string>
#include <string_view>

// File-name routines. The delimiter written is '/', but a '\' is also taken as a delimiter when
// names are taken apart, so that paths in the Windows form still split where expected.
inline constexpr char PathDelim = '/';

// The folder part, delimiter included ("/a/b/" for "/a/b/c.txt"), and the name part.
[[nodiscard]] std::string ExtractFilePath(std::string_view fileName);
[[nodiscard]] std::string ExtractFileDir(std::string_view fileName);
[[nodiscard]] std::string ExtractFileName(std::string_view fileName);
// ".txt"; "" when the name has no dot.
[[nodiscard]] std::string ExtractFileExt(std::string_view fileName);
[[nodiscard]] std::string ChangeFileExt(std::string_view fileName, std::string_view extension);
[[nodiscard]] std::string IncludeTrailingPathDelimiter(std::string_view path);
[[nodiscard]] std::string IncludeTrailingBackslash(std::string_view path);
[[nodiscard]] std::string ExcludeTrailingPathDelimiter(std::string_view path);

[[nodiscard]] bool FileExists(const std::string& fileName);
[[nodiscard]] bool DirectoryExists(const std::string& path);
// Creates one folder level; false when it could not (it exists already, or its parent is missing).
bool CreateDir(const std::string& path);
// Creates every missing folder of the path; true when the folder exists afterwards.
bool ForceDirectories(const std::string& path);
bool DeleteFile(const std::string& fileName);
[[nodiscard]] std::string GetCurrentDir();
