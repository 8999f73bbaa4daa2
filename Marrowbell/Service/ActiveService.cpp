#include "Service/ActiveService.h"

#include "Platform/Defaults.h"
#include "Platform/DefaultsKeys.h"

#include <DemoService/DemoService.h>
#include <QTextBoundaryFinder>
#include <QUrl>
#include <TamselUIKit/FeedbackSender.h>

namespace Marrowbell {
namespace {

/// Longer names would make every title, menu and button that shows the name unusable (and a long enough
/// one too slow to lay out), so they are cut, at a character boundary, with an ellipsis.
QString shownName(const QString& name) {
    if (name.size() <= ActiveService::displayNameLimit) {
        return name;
    }
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, name);
    characters.setPosition(ActiveService::displayNameLimit - 1);
    if (!characters.isAtBoundary()) {
        characters.toPreviousBoundary();
    }
    return name.left(characters.position()) + QChar(0x2026);
}

QString userDisplayName(const MusicKit::ServiceConfiguration& configuration) {
    const QString name = QString::fromStdString(configuration.displayName).trimmed();
    return shownName(name.isEmpty() ? QUrl(QString::fromStdString(configuration.apiBase)).host() : name);
}

} // namespace

// The library stores the demo's artwork addresses, port included: on another port they would all fail.
ActiveService::ActiveService(Defaults& defaults, std::size_t demoSongCount) {
    if (auto userConfiguration = MusicKit::ServiceConfiguration::loadUserFile()) {
        configuration_ = std::move(*userConfiguration);
        displayName_ = userDisplayName(configuration_);
    } else {
        demo_ = std::make_unique<DemoService::DemoService>(DemoService::DemoService::Options{
            .songCount = demoSongCount,
            .port = static_cast<int>(defaults.integerValue(DefaultsKeys::demoServicePort)),
            .freePortIfTaken = true});
        demo_->start();
        defaults.setValue(DefaultsKeys::demoServicePort, demo_->port());
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
