#pragma once

#include <QStringList>
#include <cstddef>
#include <optional>

namespace Marrowbell {

/// What the command line may choose. `--demo-songs N`: the size of the demo service's generated library.
struct CommandLineOptions {
    std::size_t demoSongCount = 0;

    /// Nothing when the arguments are not valid (the reason has been printed to standard error).
    static std::optional<CommandLineOptions> parse(const QStringList& arguments);
};

} // namespace Marrowbell
