#include "Service/ActiveService.h"

#include <DemoService/DemoService.h>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <TamselUIKit/FeedbackSender.h>

namespace Marrowbell {
namespace {

QString userDisplayName(const MusicKit::ServiceConfiguration& configuration) {
    QFile file(QString::fromStdString(MusicKit::ServiceConfiguration::userFilePath().string()));
    if (file.open(QIODevice::ReadOnly)) {
        const QString name =
            QJsonDocument::fromJson(file.readAll()).object().value(u"displayName").toString();
        if (!name.trimmed().isEmpty()) {
            return name.trimmed();
        }
    }
    return QUrl(QString::fromStdString(configuration.apiBase)).host();
}

} // namespace

ActiveService::ActiveService(std::size_t demoSongCount) {
    if (auto userConfiguration = MusicKit::ServiceConfiguration::loadUserFile()) {
        configuration_ = std::move(*userConfiguration);
        displayName_ = userDisplayName(configuration_);
    } else {
        demo_ = std::make_unique<DemoService::DemoService>(
            DemoService::DemoService::Options{.songCount = demoSongCount});
        demo_->start();
        configuration_ = demo_->configuration();
        displayName_ = QString::fromUtf8(demoDisplayName);
        // The demo service also stands in for the mail service, so that feedback and error mails
        // made while trying the app out never leave the machine.
        TamselUIKit::FeedbackSender::setBaseURL(QString::fromStdString(demo_->baseURL()));
    }
    MusicKit::ServiceConfiguration::setCurrent(configuration_);
}

ActiveService::~ActiveService() {
    MusicKit::ServiceConfiguration::setCurrent(std::nullopt);
    if (demo_) {
        demo_->stop();
    }
}

std::optional<std::string> ActiveService::usageStatsBaseURL() const {
    if (demo_) {
        return demo_->baseURL();
    }
    return std::nullopt;
}

} // namespace Marrowbell
