#include "Platform/QtPlatformFacts.h"

#include "App/AppIdentity.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

namespace Marrowbell {
namespace {

UsageStats::LinuxPlatformFacts::Sources sources() {
    UsageStats::LinuxPlatformFacts::Sources facts;
    facts.applicationVersion = std::string(appVersion());
    return facts;
}

} // namespace

QtPlatformFacts::QtPlatformFacts()
    : linux_(sources()) {}

std::optional<UsageStats::ScreenGeometry> QtPlatformFacts::mainScreen() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return std::nullopt;
    }
    const QSize size = screen->size();
    return UsageStats::ScreenGeometry{static_cast<double>(size.width()), static_cast<double>(size.height()),
                                      screen->devicePixelRatio()};
}

UsageStats::ColorScheme QtPlatformFacts::colorScheme() const {
    // Qt 6.4 has no colour-scheme hint; a dark window background is what a dark scheme looks like.
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    return window.lightness() < 128 ? UsageStats::ColorScheme::dark : UsageStats::ColorScheme::light;
}

std::optional<UsageStats::LayoutDirection> QtPlatformFacts::layoutDirection() const {
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? UsageStats::LayoutDirection::rightToLeft
                                                                 : UsageStats::LayoutDirection::leftToRight;
}

} // namespace Marrowbell
