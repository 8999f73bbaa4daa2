#pragma once

#include <QIcon>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <optional>

class QLabel;
class QListWidget;

namespace TamselUIKit {

class WelcomeActionsView;
class WelcomeViewModel;

/// The welcome window's content: on the left the header image and "Welcome to " + the application's name,
/// the action rows and the "show at launch" switch (kept in QSettings under `showsOnLaunchKey`, default
/// true); on the right the recent documents, or "No Recent Documents". A click selects a recent, a
/// Ctrl-click clears the selection, a double-click closes the hosting window (through its
/// HostedWindowDismiss) and opens the document; the context menu shows it in the file manager. The
/// recents are reloaded each time the view is shown. GUI thread.
class WelcomeView : public QWidget {
    Q_OBJECT

public:
    WelcomeView(WelcomeViewModel& viewModel, const QIcon& headerImage, QString showsOnLaunchKey,
                QWidget* parent = nullptr);

    std::optional<QUrl> selectedRecent() const;
    QListWidget* recentsList() const { return recents_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeLeftColumn(const QIcon& headerImage);
    QWidget* makeRightColumn();
    void showRecents();
    void showThumbnails();
    void openRecent(const QUrl& url);
    void showContextMenu(const QPoint& position);

    WelcomeViewModel& viewModel_;
    const QString showsOnLaunchKey_;
    WelcomeActionsView* actions_ = nullptr;
    QListWidget* recents_ = nullptr;
    QLabel* noRecents_ = nullptr;
};

} // namespace TamselUIKit
