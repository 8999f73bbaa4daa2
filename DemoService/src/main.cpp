// marrowbell-demo-service --port P --songs N [--seed S]: serves a generated library until interrupted.

#include "DemoService/DemoService.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

namespace {

struct Arguments {
    DemoService::DemoService::Options options;
    bool valid = true;
};

Arguments parseArguments(int argc, char** argv) {
    Arguments arguments;
    arguments.options.port = 8080;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (i + 1 >= argc) {
            arguments.valid = false;
            break;
        }
        const std::string value = argv[++i];
        try {
            if (name == "--port") {
                arguments.options.port = std::stoi(value);
            } else if (name == "--songs") {
                arguments.options.songCount = std::stoul(value);
            } else if (name == "--seed") {
                arguments.options.seed = std::stoull(value);
            } else {
                arguments.valid = false;
            }
        } catch (const std::exception&) {
            arguments.valid = false;
        }
    }
    return arguments;
}

} // namespace

int main(int argc, char** argv) {
    const Arguments arguments = parseArguments(argc, argv);
    if (!arguments.valid) {
        std::fprintf(stderr, "usage: marrowbell-demo-service --port P --songs N [--seed S]\n");
        return 2;
    }
    // Block the stop signals before any thread starts, so that only sigwait below receives them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    try {
        DemoService::DemoService service(arguments.options);
        service.start();
        std::printf("Serving %zu songs at %s\n", service.library().songs.size(), service.baseURL().c_str());
        std::printf("Developer token: %s\nUser token: %s\n", DemoService::DemoService::developerToken.data(),
                    DemoService::DemoService::userToken.data());
        std::fflush(stdout);
        int received = 0;
        sigwait(&signals, &received);
        service.stop();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "marrowbell-demo-service: %s\n", error.what());
        return 1;
    }
    return 0;
}
