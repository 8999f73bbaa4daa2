#include "TamselUIKit/WelcomeWindowController.h"

#include "TamselUIKit/AppDisplayName.h"
#include "TamselUIKit/HostedWindowDismiss.h"
#include "TamselUIKit/WelcomeView.h"
#include "TamselUIKit/WelcomeViewModel.h"

#include <QCloseEvent>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace TamselUIKit {

using namespace Qt::StringLiterals;

namespace {

/// Followed by the autosave name.
constexpr auto windowFrameKeyPrefix = "TamselUIKit/WindowFrames/";

} // namespace

WelcomeWindowController::WelcomeWindowController(QList<WelcomeAction> actions, QString showsOnLaunchKey,
                                                 const QIcon& headerImage, bool useThumbnails,
                                                 bool allowsThumbnailInterpolation,
                                                 std::optional<QString> windowAutoSaveName, QWidget* parent,
                                                 std::shared_ptr<const RecentDocumentsSource> recentsSource,
                                                 std::shared_ptr<const ThumbnailProvider> thumbnailProvider)
    : QWidget(parent, Qt::Window)
    , viewModel_(new WelcomeViewModel(useThumbnails, allowsThumbnailInterpolation, std::move(recentsSource),
                                      std::move(thumbnailProvider), this))
    , windowAutoSaveName_(std::move(windowAutoSaveName)) {
    viewModel_->setActions(std::move(actions));
    // Closing from inside the content goes through close(), so didClose() is emitted once either way.
    new HostedWindowDismiss([this] { close(); }, this);
    view_ = new WelcomeView(*viewModel_, headerImage, std::move(showsOnLaunchKey), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setWindowTitle(tr("Welcome to %1").arg(appDisplayName()));
    adjustSize();
    if (windowAutoSaveName_) {
        restoreGeometry(QSettings().value(frameSettingsKey()).toByteArray());
    }
}

QList<WelcomeAction> WelcomeWindowController::actions() const {
    return viewModel_->actions();
}

void WelcomeWindowController::setActions(QList<WelcomeAction> actions) {
    viewModel_->setActions(std::move(actions));
}

void WelcomeWindowController::showWindow() {
    setGeometry(
        QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size(), screen()->availableGeometry()));
    show();
    raise();
    activateWindow();
}

void WelcomeWindowController::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (windowAutoSaveName_) {
        QSettings().setValue(frameSettingsKey(), saveGeometry());
    }
    QTimer::singleShot(0, this, [this] { Q_EMIT didClose(); });
}

QString WelcomeWindowController::frameSettingsKey() const {
    return QString::fromLatin1(windowFrameKeyPrefix) + windowAutoSaveName_.value_or(QString());
}

} // namespace TamselUIKit
