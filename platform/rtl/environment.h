#pragma once
// Environment variables and the executable's own location. The setters take a process-wide lock, but libraries
// that call getenv directly are not covered by it: change the environment before starting worker threads.
#include <optional>
#include <string>

// "" when unset.
std::string GetEnvironmentVariable(const std::string& AName);
// Unset and "present but empty" differ here.
std::optional<std::string> FindEnvironmentVariable(const std::string& AName);
// False for an empty name or one holding "=".
bool SetEnvironmentVariable(const std::string& AName, const std::string& AValue);
bool UnsetEnvironmentVariable(const std::string& AName);

// The running executable's absolute path (/proc/self/exe), and its folder with a trailing "/".
std::string GetExecutablePath();
std::string GetExecutableFolder();
