#include "App/AppIdentity.h"
#include "App/CommandLineOptions.h"
#include "App/MarrowbellApplication.h"
#include "App/SingleInstance.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <string_view>

namespace {

// Long enough for a running instance that is still starting (making its store, starting its service).
constexpr std::chrono::seconds runningInstanceAnswerWait{30};

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

int presentRunningInstance(Marrowbell::SingleInstance& instance) {
    if (instance.presentRunningInstance(runningInstanceAnswerWait)) {
        std::fprintf(stderr, "marrowbell: already running; brought its window to the front\n");
        return 0;
    }
    std::fprintf(stderr, "marrowbell: already running (process %lld) but it does not answer\n",
                 static_cast<long long>(instance.runningProcessId()));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(fromView(Marrowbell::appName));
    QApplication::setApplicationVersion(fromView(Marrowbell::appVersion()));

    const auto options = Marrowbell::CommandLineOptions::parse(QApplication::arguments());
    if (!options) {
        return 2;
    }
    Marrowbell::SingleInstance instance;
    if (!instance.isFirst()) {
        return presentRunningInstance(instance);
    }
    Marrowbell::MarrowbellApplication marrowbell;
    QObject::connect(&instance, &Marrowbell::SingleInstance::presentRequested, &marrowbell,
                     &Marrowbell::MarrowbellApplication::presentForAnotherLaunch);
    if (!marrowbell.start(*options)) {
        return 1;
    }
    return marrowbell.exec();
}
