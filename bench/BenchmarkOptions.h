#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace Benchmark {

struct Options {
    std::size_t songs = 100000;
    /// Where to leave the store file; empty for a temporary one removed at the end.
    std::string databasePath;
    /// A running service to sync against; empty for the bundled demo service.
    std::string serviceURL;
    /// Set only when a benchmark starts itself again to measure in a fresh process: the folder of the XDG
    /// folders and settings that its first process made ("--home DIR"), and the steady clock's reading in
    /// nanoseconds just before that start ("--launched-at NS").
    std::string home;
    long long launchedAt = 0;
};

/// Reads "--songs N", "--db PATH", "--home DIR", "--launched-at NS" and, where accepted, "--service-url URL";
/// on anything else prints `usage` and exits.
inline Options parseOptions(int argc, char** argv, const char* usage, bool acceptsServiceURL) {
    Options options;
    for (int i = 1; i < argc; i += 2) {
        const std::string flag = argv[i];
        const bool hasValue = i + 1 < argc;
        if (hasValue && flag == "--songs") {
            options.songs = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (hasValue && flag == "--db") {
            options.databasePath = argv[i + 1];
        } else if (hasValue && flag == "--home") {
            options.home = argv[i + 1];
        } else if (hasValue && flag == "--launched-at") {
            options.launchedAt = std::strtoll(argv[i + 1], nullptr, 10);
        } else if (hasValue && acceptsServiceURL && flag == "--service-url") {
            options.serviceURL = argv[i + 1];
        } else {
            std::fprintf(stderr, "usage: %s\n", usage);
            std::exit(2);
        }
    }
    return options;
}

} // namespace Benchmark
