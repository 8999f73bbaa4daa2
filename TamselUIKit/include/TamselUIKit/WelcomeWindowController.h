#pragma once

#include "TamselUIKit/RecentDocumentsSource.h"
#include "TamselUIKit/ThumbnailProvider.h"
#include "TamselUIKit/WelcomeAction.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

namespace TamselUIKit {

class WelcomeView;
class WelcomeViewModel;

/// The welcome window of a document-based application, titled "Welcome to " + the application's name: a
/// WelcomeView over its own WelcomeViewModel. Built at once, shown by showWindow(). The show-at-launch
/// choice is written under `showsOnLaunchKey` in QSettings (absent means true); the host reads it at
/// launch. With an autosave name the window's size and place are kept in QSettings across launches.
/// GUI thread.
class WelcomeWindowController : public QWidget {
    Q_OBJECT

public:
    /// A null `recentsSource` or `thumbnailProvider` takes the WelcomeViewModel's default.
    WelcomeWindowController(QList<WelcomeAction> actions, QString showsOnLaunchKey, const QIcon& headerImage,
                            bool useThumbnails, bool allowsThumbnailInterpolation,
                            std::optional<QString> windowAutoSaveName, QWidget* parent = nullptr,
                            std::shared_ptr<const RecentDocumentsSource> recentsSource = nullptr,
                            std::shared_ptr<const ThumbnailProvider> thumbnailProvider = nullptr);

    QList<WelcomeAction> actions() const;
    void setActions(QList<WelcomeAction> actions);

    WelcomeViewModel& viewModel() const { return *viewModel_; }
    WelcomeView& welcomeView() const { return *view_; }

    /// Centres the window on its screen and shows it.
    void showWindow();

Q_SIGNALS:
    /// The window closed, by any means; emitted once per close, on the next event-loop turn.
    void didClose();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString frameSettingsKey() const;

    WelcomeViewModel* viewModel_ = nullptr;
    WelcomeView* view_ = nullptr;
    const std::optional<QString> windowAutoSaveName_;
};

} // namespace TamselUIKit
