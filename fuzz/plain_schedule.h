#pragma once
// libFuzzer's entropic schedule spends most of its time weighing features on targets as wide as
// the message catalogues (twenty runs a second instead of thousands); these targets ask for the
// plain schedule unless the command line chooses one.
#include <cstring>
#include <vector>

inline void usePlainSchedule(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp((*argv)[i], "-entropic=", 10) == 0) return;
    }
    static std::vector<char*> args;
    static char option[] = "-entropic=0";
    args.assign(*argv, *argv + *argc);
    args.insert(args.begin() + 1, option);
    args.push_back(nullptr);
    *argv = args.data();
    *argc += 1;
}
