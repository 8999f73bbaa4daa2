#pragma once

#include "MainWindow/PaneFactory.h"
#include "Search/SearchViewModel.h"

#include <QDBusConnection>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QMessageBox;
class QToolButton;

namespace Marrowbell {

class AppModels;
class NotAuthorizedView;
class ObservationTrackingToken;
class OverlayPanel;
class PlayerBar;
class PodController;
class SearchWindow;
class ToastView;

/// The main window's content: a toolbar (back, title, sort-and-filter menu, search), the pod below it, the
/// toasts or the not-authorised screen over the pod, and the player bar and search panel floating over the
/// window. The pod's width sets the central model's column mode; while the first full sync runs the pod is
/// dimmed and takes no input (the toolbar and the floating panels stay usable). Space in the pod goes to the
/// menu's Play/Pause (MenuCommands).
///
/// On first show, once the store has opened, it starts the central model and then, unless the system saves
/// power, loads Made for You and Stations for You: at once when the library was synced before, otherwise
/// once the music service has given access, behind a "Connecting to …" toast. Refused access (or no service)
/// shows the not-authorised screen over the pod until "Try Again" obtains access, which then runs the same
/// start; a service that cannot be reached, fails or stays silent does not refuse it. A failed full sync
/// raises an alert naming what failed. GUI thread.
class MainContentView final : public QWidget {
    Q_OBJECT

public:
    /// "Added to Library" shows this long; the insert-only sync starts this long after it is gone.
    static constexpr int addToastDurationMs = 3000;
    static constexpr int insertSyncDelayMs = 3000;
    static constexpr int titleMaximumWidth = 172;

    MainContentView(AppModels& models, const QString& serviceDisplayName, PaneFactory makePane,
                    QWidget* parent = nullptr);
    ~MainContentView() override;

    PodController& pod() const { return *pod_; }
    QAction* backAction() const { return back_; }
    QToolButton* sortButton() const { return sort_; }
    QToolButton* searchButton() const { return search_; }
    QLabel* titleLabel() const { return title_; }
    ToastView* addToast() const { return addToast_; }
    ToastView* syncingToast() const { return syncingToast_; }
    NotAuthorizedView* notAuthorizedView() const { return notAuthorized_; }
    PlayerBar* playerBar() const { return playerBar_; }
    OverlayPanel* searchPanel() const { return searchPanel_; }
    SearchWindow& searchWindow() const { return *searchWindow_; }
    bool isNotAuthorized() const { return isNotAuthorized_; }

    /// Shows the search panel over the window, on `source` when given; Escape in it closes it.
    void showSearch(std::optional<SearchPickerSelection> source = std::nullopt);
    void closeSearch();
    /// Where the power-profiles daemon is asked whether the system saves power; the system bus unless set.
    void usePowerProfilesBus(const QDBusConnection& bus);

Q_SIGNALS:
    /// The service refused access (the not-authorised screen shows).
    void accessRefused();
    /// The central model has started and both recommendation lists have loaded (or were skipped to save
    /// power).
    void startUpFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeToolbar(const QString& serviceDisplayName);
    void followModel();
    void startUp();
    void requestAccess();
    void startModels();
    void setNotAuthorized(bool notAuthorized);
    void setConnecting(bool connecting);
    void updateStatusOverlay();
    void updateColumnMode();
    void updateSyncState();
    void setPodEnabled(bool enabled);
    void addToastDidShow();
    void showPlayErrorAlert();
    void showSyncFailureAlert();
    void centreOverWindow(QWidget& alert) const;
    void placeOverlays();

    AppModels& models_;
    PodController* pod_;
    QWidget* podArea_ = nullptr;
    /// Lies over the pod in the window's colour while a sync dims it.
    QWidget* podDimming_ = nullptr;
    /// Where the keyboard focus was when a sync disabled the pod, and where disabling it put the focus.
    QPointer<QWidget> focusBeforeSync_;
    QPointer<QWidget> focusDuringSync_;
    QAction* back_ = nullptr;
    QToolButton* sort_ = nullptr;
    QToolButton* search_ = nullptr;
    QLabel* title_ = nullptr;
    ToastView* addToast_;
    ToastView* syncingToast_;
    ToastView* connectingToast_;
    NotAuthorizedView* notAuthorized_;
    PlayerBar* playerBar_;
    OverlayPanel* searchPanel_;
    SearchWindow* searchWindow_ = nullptr;
    QMessageBox* playError_ = nullptr;
    std::optional<QDBusConnection> powerProfilesBus_;
    QMessageBox* syncFailure_ = nullptr;
    bool isNotAuthorized_ = false;
    bool isConnecting_ = false;
    bool startUpRequested_ = false;
    bool modelsStarted_ = false;
    /// Bumped by each "Added to Library" so that an earlier toast's timer does not hide a later one early.
    int addToastGeneration_ = 0;
    std::vector<std::shared_ptr<ObservationTrackingToken>> tokens_;
};

} // namespace Marrowbell
