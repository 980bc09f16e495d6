// vestrel-mkdata --out DIR: writes the demo game data directory, the same bytes on every run.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "mkdata/content.h"
#include "mkdata/data_set.h"

namespace {
constexpr const char* kUsage =
    "usage: vestrel-mkdata --out DIR\n"
    "Writes the demo game data (archives and loose files) into DIR.\n";
}

int main(int argc, char** argv) {
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--out" && i + 1 < argc) {
            out = argv[++i];
        } else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "vestrel-mkdata: unexpected argument %s\n%s", argv[i], kUsage);
            return 2;
        }
    }
    if (out.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        vs::mkdata::DataSet data;
        vs::mkdata::buildDemoData(data);
        const auto written = data.write(out);
        std::printf("vestrel-mkdata: %zu files in %s\n", written.size(), out.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vestrel-mkdata: %s\n", e.what());
        return 1;
    }
}
