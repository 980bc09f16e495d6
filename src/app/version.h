#pragma once
#include <cstdint>
#include <string_view>

namespace vs::app {

struct VersionInfo {
    int16_t version = 310;
    int16_t build = 0;
};

// From a version "a.b.c[.d]": version = (a mod 10) * 100 + (b mod 10) * 10 + (c mod 10),
// build = d. Without a readable version: 310 and 0.
VersionInfo versionFromString(std::string_view text);

// This program's own version, from the project version.
VersionInfo programVersion();

}  // namespace vs::app
