#include "platform/paths.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace vs::platform {

namespace fs = std::filesystem;

std::string environment(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

namespace {
fs::path home() {
    std::string h = environment("HOME");
    return h.empty() ? fs::temp_directory_path() : fs::path(h);
}
fs::path xdg(const char* var, const char* fallback) {
    std::string v = environment(var);
    // Relative values do not count: the XDG rules say to ignore them.
    if (!v.empty() && v[0] == '/') return fs::path(v);
    return home() / fallback;
}
}  // namespace

fs::path configHome() { return xdg("XDG_CONFIG_HOME", ".config"); }
fs::path stateHome() { return xdg("XDG_STATE_HOME", ".local/state"); }
fs::path dataHome() { return xdg("XDG_DATA_HOME", ".local/share"); }

fs::path runtimeDir() {
    std::string v = environment("XDG_RUNTIME_DIR");
    if (!v.empty() && v[0] == '/') return fs::path(v);
    return fs::temp_directory_path();
}

fs::path executablePath() {
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : p;
}

bool changeDirectory(const fs::path& dir) { return ::chdir(dir.c_str()) == 0; }

}  // namespace vs::platform
