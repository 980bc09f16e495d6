#pragma once
#include <filesystem>
#include <string>

namespace vs::platform {

// Where files live on this desktop (XDG base directories, with their standard fallbacks).
std::filesystem::path configHome();    // $XDG_CONFIG_HOME or ~/.config
std::filesystem::path stateHome();     // $XDG_STATE_HOME or ~/.local/state
std::filesystem::path dataHome();      // $XDG_DATA_HOME or ~/.local/share
std::filesystem::path runtimeDir();    // $XDG_RUNTIME_DIR or the temporary directory
std::filesystem::path executablePath();  // the running program's file
std::string environment(const char* name);  // empty when unset
bool changeDirectory(const std::filesystem::path& dir);

}  // namespace vs::platform
