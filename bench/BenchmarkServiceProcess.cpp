#include "BenchmarkServiceProcess.h"

#include "Service/ActiveService.h"

#include <DemoService/DemoService.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <sys/prctl.h>

namespace Benchmark {
namespace {

using namespace Qt::StringLiterals;

// A library of 400,000 songs takes a while to generate on a loaded machine.
constexpr std::chrono::seconds startTimeout{300};
constexpr int stopTimeoutMs = 10000;

// The service prints "Serving N songs at http://127.0.0.1:PORT" once it listens.
QRegularExpressionMatch waitForServing(QProcess& process) {
    static const QRegularExpression serving(u"^Serving \\d+ songs at (http://127\\.0\\.0\\.1:(\\d+))\\s*$"_s);
    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    while (std::chrono::steady_clock::now() < deadline && process.state() != QProcess::NotRunning) {
        while (process.canReadLine()) {
            const auto match = serving.match(QString::fromUtf8(process.readLine()));
            if (match.hasMatch()) {
                return match;
            }
        }
        process.waitForReadyRead(1000);
    }
    throw std::runtime_error("the demo service did not start");
}

int notedPort(const QString& notePath) {
    QFile note(notePath);
    return note.open(QIODevice::ReadOnly) ? note.readAll().trimmed().toInt() : 0;
}

} // namespace

ServiceProcess::ServiceProcess(std::size_t songs, int port) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A benchmark that crashes or is killed leaves no service running behind it.
    process_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    // With port 0 the service takes a free port and names it, so no other program can take it in between.
    process_.start(QStringLiteral(MARROWBELL_DEMO_SERVICE_PROGRAM),
                   {u"--port"_s, QString::number(port), u"--songs"_s, QString::number(songs)});
    const QRegularExpressionMatch serving = waitForServing(process_);
    baseURL_ = serving.captured(1).toStdString();
    port_ = serving.captured(2).toInt();
}

std::unique_ptr<ServiceProcess> ServiceProcess::forStore(std::size_t songs, const QString& databasePath) {
    const QString notePath = databasePath + u".service-port"_s;
    std::unique_ptr<ServiceProcess> service;
    if (const int port = notedPort(notePath); port > 0) {
        try {
            service = std::make_unique<ServiceProcess>(songs, port);
        } catch (const std::runtime_error&) {
            // Taken by another program meanwhile: a free port serves too, without the artwork.
        }
    }
    if (!service) {
        service = std::make_unique<ServiceProcess>(songs);
        QDir().mkpath(QFileInfo(notePath).absolutePath());
        QFile note(notePath);
        if (!note.open(QIODevice::WriteOnly) || note.write(QByteArray::number(service->port_)) < 0) {
            throw std::runtime_error("cannot note the service's port beside the store");
        }
    }
    return service;
}

ServiceProcess::~ServiceProcess() {
    process_.terminate();
    if (!process_.waitForFinished(stopTimeoutMs)) {
        process_.kill();
        process_.waitForFinished(stopTimeoutMs);
    }
}

MusicKit::ServiceConfiguration ServiceProcess::configuration() const {
    return {.apiBase = baseURL_,
            .developerToken = std::string(DemoService::DemoService::developerToken),
            .userToken = std::string(DemoService::DemoService::userToken),
            .storefront = "us",
            .displayName = Marrowbell::ActiveService::demoDisplayName};
}

std::unique_ptr<ServiceProcess> ServiceProcess::servingStore(std::size_t songs, const QString& databasePath) {
    try {
        auto service = forStore(songs, databasePath);
        service->writeServiceFile();
        return service;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return nullptr;
    }
}

void ServiceProcess::writeServiceFile() const {
    const MusicKit::ServiceConfiguration service = configuration();
    const auto path = MusicKit::ServiceConfiguration::userFilePath();
    std::filesystem::create_directories(path.parent_path());
    const QJsonObject file{{u"apiBase"_s, QString::fromStdString(service.apiBase)},
                           {u"developerToken"_s, QString::fromStdString(service.developerToken)},
                           {u"userToken"_s, QString::fromStdString(service.userToken)},
                           {u"storefront"_s, QString::fromStdString(service.storefront)},
                           {u"displayName"_s, QString::fromStdString(service.displayName)}};
    QFile out(QString::fromStdString(path.string()));
    if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(file).toJson()) < 0) {
        throw std::runtime_error("cannot write the service file");
    }
}

} // namespace Benchmark
