#include "App/CommandLineOptions.h"

#include "Service/ActiveService.h"

#include <QCommandLineParser>
#include <cstdio>

namespace Marrowbell {

std::optional<CommandLineOptions> CommandLineOptions::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A compact music player."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demoSongs(
        QStringLiteral("demo-songs"),
        QStringLiteral("Number of songs in the bundled demo service's library (without service.json)."),
        QStringLiteral("N"), QString::number(ActiveService::defaultDemoSongCount));
    parser.addOption(demoSongs);
    parser.process(arguments);

    bool ok = false;
    const qulonglong count = parser.value(demoSongs).toULongLong(&ok);
    constexpr qulonglong largest = 1'000'000;
    if (!ok || count == 0 || count > largest) {
        std::fprintf(stderr, "marrowbell: --demo-songs takes a whole number from 1 to %llu\n", largest);
        return std::nullopt;
    }
    return CommandLineOptions{static_cast<std::size_t>(count)};
}

} // namespace Marrowbell
