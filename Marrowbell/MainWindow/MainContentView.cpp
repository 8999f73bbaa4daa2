#include "MainWindow/MainContentView.h"

#include "App/AppEnvironment.h"
#include "MainWindow/AppModels.h"
#include "MainWindow/NotAuthorizedView.h"
#include "MainWindow/OverlayPanel.h"
#include "MainWindow/PodController.h"
#include "MainWindow/PodPagingView.h"
#include "MainWindow/SortMenu.h"
#include "MainWindow/ToastView.h"
#include "MainWindow/ToolbarIcons.h"
#include "Model/ServiceFailureText.h"
#include "Observation/ObservationTracking.h"
#include "Platform/AccessibleNames.h"
#include "Platform/AppLoggers.h"
#include "Platform/DefaultsKeys.h"
#include "Platform/GuiDelivery.h"
#include "Player/PlayerBar.h"
#include "Player/PlayerButton.h"
#include "Player/PlayerView.h"
#include "Search/SearchWindow.h"

#include <DesktopIntegration/LowPowerMode.h>
#include <MarrowbellCore/Sync/SyncEngine.h>
#include <MusicKit/MusicAuthorization.h>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace Marrowbell {
namespace {

constexpr double dimmedOpacity = 0.5;

QFrame* hairline(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    line->setFixedHeight(1);
    return line;
}

} // namespace

MainContentView::MainContentView(AppModels& models, const QString& serviceDisplayName, PaneFactory makePane,
                                 QWidget* parent)
    : QWidget(parent)
    , models_(models)
    , pod_(new PodController(*models.main, models.environment.notifications(), std::move(makePane), this))
    , addToast_(new ToastView(QStringLiteral("checkmark.circle"), tr("Added to Library"), false,
                              ToastView::Entrance::grow, this))
    , syncingToast_(new ToastView(QStringLiteral("arrow.trianglehead.2.clockwise.rotate.90"),
                                  tr("Syncing Library"), true, ToastView::Entrance::immediate, this))
    , connectingToast_(new ToastView(QStringLiteral("arrow.trianglehead.2.clockwise.rotate.90"),
                                     tr("Connecting to %1…").arg(serviceDisplayName), true,
                                     ToastView::Entrance::immediate, this))
    , notAuthorized_(new NotAuthorizedView(serviceDisplayName, this))
    , playerBar_(new PlayerBar(*models.main, *models.player, this))
    , searchPanel_(new OverlayPanel(this)) {
    setObjectName(QStringLiteral("mainContent"));
    podArea_ = pod_->view();
    podArea_->setParent(this);
    podArea_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeToolbar(serviceDisplayName));
    layout->addWidget(hairline(this));
    layout->addWidget(podArea_, 1);
    podDimming_ = new QWidget(this);
    podDimming_->setAutoFillBackground(true);
    podDimming_->setAttribute(Qt::WA_TransparentForMouseEvents);

    for (QWidget* overlay : std::initializer_list<QWidget*>{podDimming_, addToast_, syncingToast_,
                                                            connectingToast_, notAuthorized_, searchPanel_}) {
        overlay->hide();
    }
    searchPanel_->installEventFilter(this);
    searchWindow_ = new SearchWindow(models, *models.search, serviceDisplayName, *searchPanel_, this);
    searchWindow_->keepOpenOnPressesIn(*playerBar_);
    connect(notAuthorized_, &NotAuthorizedView::tryAgainRequested, this, &MainContentView::requestAccess);

    // Tab reaches the player bar's buttons after the toolbar's, so that the bar works without a mouse.
    PlayerView& bar = *playerBar_->view();
    QWidget* previous = search_;
    for (QWidget* button :
         std::initializer_list<QWidget*>{bar.previousButton(), bar.playPauseButton(), bar.nextButton(),
                                         bar.repeatButton(), bar.shuffleButton(), bar.upNextButton()}) {
        setTabOrder(previous, button);
        previous = button;
    }

    followModel();
}

MainContentView::~MainContentView() = default;

QWidget* MainContentView::makeToolbar(const QString& serviceDisplayName) {
    auto* toolbar = new QToolBar(this);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(16, 16));

    back_ = toolbar->addAction(ToolbarIcons::back(palette()), QString());
    back_->setToolTip(tr("Back"));
    // The buttons show only symbols: a screen reader reads them by these names.
    toolbar->widgetForAction(back_)->setAccessibleName(back_->toolTip());
    connect(back_, &QAction::triggered, this, [this] { models_.main->navigateBack(); });

    auto* leading = new QWidget(toolbar);
    leading->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(leading);

    title_ = new QLabel(toolbar);
    QFont titleFont = title_->font();
    titleFont.setWeight(QFont::DemiBold);
    title_->setFont(titleFont);
    title_->setMaximumWidth(titleMaximumWidth);
    title_->setAlignment(Qt::AlignCenter);
    toolbar->addWidget(title_);

    auto* trailing = new QWidget(toolbar);
    trailing->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(trailing);

    sort_ = new QToolButton(toolbar);
    sort_->setIcon(ToolbarIcons::sortAndFilter(palette()));
    sort_->setToolTip(tr("Sort and filter"));
    sort_->setAccessibleName(sort_->toolTip());
    sort_->setPopupMode(QToolButton::InstantPopup);
    auto* sortMenu = new QMenu(sort_);
    connect(sortMenu, &QMenu::aboutToShow, this,
            [this, sortMenu] { fillSortMenu(*sortMenu, models_, models_.main->selectedContainerKind()); });
    sort_->setMenu(sortMenu);
    toolbar->addWidget(sort_);

    search_ = new QToolButton(toolbar);
    search_->setIcon(ToolbarIcons::search(palette()));
    search_->setToolTip(tr("Search your library or the %1 catalog").arg(serviceDisplayName));
    search_->setAccessibleName(AccessibleNames::search());
    connect(search_, &QToolButton::clicked, this, [this] { showSearch(); });
    toolbar->addWidget(search_);
    return toolbar;
}

void MainContentView::followModel() {
    MainViewModel& model = *models_.main;
    auto refresh = [this](auto method) {
        return [this, method](const auto&, const auto&) { (this->*method)(); };
    };
    auto updateToolbar = [this] {
        MainViewModel& main = *models_.main;
        back_->setEnabled(main.activePane.get() >= 1);
        const std::optional<ContainerKind> kind = main.selectedContainerKind();
        sort_->setEnabled(kind.has_value() && hasSortChoices(kind));
        const QString title = main.navigationTitle();
        title_->setText(title_->fontMetrics().elidedText(title, Qt::ElideRight, titleMaximumWidth));
        title_->setToolTip(title);
    };
    auto toolbarHandler = [updateToolbar](const auto&, const auto&) { updateToolbar(); };
    tokens_.push_back(ObservationTracking::observe(&model, &MainViewModel::activePane, toolbarHandler));
    tokens_.push_back(
        ObservationTracking::observe(&model, &MainViewModel::selectedContainerKindID, toolbarHandler));
    tokens_.push_back(ObservationTracking::observe(&model, &MainViewModel::navigationTitle, toolbarHandler));
    tokens_.push_back(ObservationTracking::observe(&model, &MainViewModel::showSyncingToast,
                                                   refresh(&MainContentView::updateSyncState)));
    tokens_.push_back(ObservationTracking::observe(&model, &MainViewModel::syncProgress,
                                                   refresh(&MainContentView::updateSyncState)));
    tokens_.push_back(ObservationTracking::observe(&model, &MainViewModel::showAddToast,
                                                   [this](bool wasShown, bool isShown) {
                                                       updateStatusOverlay();
                                                       if (isShown && !wasShown) {
                                                           addToastDidShow();
                                                       }
                                                   }));
    tokens_.push_back(ObservationTracking::observe(&model, &MainViewModel::showPlayError,
                                                   refresh(&MainContentView::showPlayErrorAlert)));
    tokens_.push_back(ObservationTracking::observe(&model, &MainViewModel::fullSyncFailure,
                                                   refresh(&MainContentView::showSyncFailureAlert)));
    updateToolbar();
    updateSyncState();
}

void MainContentView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!startUpRequested_) {
        startUpRequested_ = true;
        startUp();
    }
}

// A synced library is on disk: it shows at once, whatever the service does, and only a refusal of access
// covers it later. Asking the service may take as long as it stays silent. The first full sync waits for the
// answer, so that a refused user is asked to sign in rather than shown the sync's failure. Whether the
// library was synced is known once the store has opened: a new file forgets it.
void MainContentView::startUp() {
    whenFinished(models_.environment.storeOpening(), this, [this](const QFuture<void>&) {
        if (models_.environment.defaults().boolValue(DefaultsKeys::performedFullSync)) {
            startModels();
        }
        requestAccess();
    });
}

void MainContentView::requestAccess() {
    setConnecting(!modelsStarted_ || isNotAuthorized_);
    auto request = models_.environment.background().run(
        [](std::stop_token stopToken) { return MusicKit::MusicAuthorization::requestAnswer(stopToken); });
    whenFinished(request, this, [this](QFuture<MusicKit::MusicAuthorization::Answer> finished) {
        setConnecting(false);
        MusicKit::MusicAuthorization::Answer answer;
        try {
            answer = finished.result();
        } catch (const std::exception& error) {
            AppLoggers::app().error("Failed to request music library access: %@", {error});
        }
        if (answer.status == MusicKit::MusicAuthorization::Status::authorized) {
            const bool wasRefused = isNotAuthorized_;
            setNotAuthorized(false);
            if (!modelsStarted_ || wasRefused) {
                startModels();
            } else if (answer.failure) {
                // The stored library shows, but the start's syncs cannot reach the service: the user is told
                // once, as after a failed Update Library. A first start's full sync tells it by itself.
                models_.main->reportStartSyncFailure(answer.failure);
            }
            return;
        }
        AppLoggers::app().error(
            "Failed to request music library access: %@",
            {answer.failure ? serviceFailureText(answer.failure, models_.environment.service().displayName())
                                  .toStdString()
                            : std::string("no music service is configured")});
        setNotAuthorized(true);
        Q_EMIT accessRefused();
    });
}

void MainContentView::usePowerProfilesBus(const QDBusConnection& bus) {
    powerProfilesBus_ = bus;
}

// The first start and "Try Again" run the same loads, so the recommendation lists never stay empty. While
// the system saves power they are left to load when the user opens them.
void MainContentView::startModels() {
    modelsStarted_ = true;
    whenFinished(models_.main->start(), this, [this](QFuture<void>) {
        // Asking the daemon may wait for its answer, so the question is put off the GUI thread.
        auto lowPower = models_.environment.background().run([bus = powerProfilesBus_](std::stop_token) {
            return bus ? DesktopIntegration::isLowPowerModeEnabled(*bus)
                       : DesktopIntegration::isLowPowerModeEnabled();
        });
        whenFinished(lowPower, this, [this](QFuture<bool> savesPower) {
            if (savesPower.result()) {
                Q_EMIT startUpFinished();
                return;
            }
            whenFinished(models_.madeForYou->load(), this, [this](QFuture<void>) {
                whenFinished(models_.stations->load(), this,
                             [this](QFuture<void>) { Q_EMIT startUpFinished(); });
            });
        });
    });
}

void MainContentView::setNotAuthorized(bool notAuthorized) {
    isNotAuthorized_ = notAuthorized;
    updateSyncState();
}

void MainContentView::setConnecting(bool connecting) {
    isConnecting_ = connecting;
    updateStatusOverlay();
}

void MainContentView::updateStatusOverlay() {
    MainViewModel& model = *models_.main;
    const bool adding = model.showAddToast.get();
    const bool syncing = !adding && model.showSyncingToast.get();
    const bool connecting = !adding && !syncing && isConnecting_;
    addToast_->setPresented(adding);
    syncingToast_->setPresented(syncing);
    connectingToast_->setPresented(connecting);
    notAuthorized_->setVisible(!adding && !syncing && !connecting && isNotAuthorized_);
    placeOverlays();
}

void MainContentView::updateSyncState() {
    const bool syncing = models_.main->showSyncingToast.get();
    syncingToast_->setProgress(models_.main->syncProgress.get());
    // The pod shows through a veil of the window's colour as if drawn at the dimmed opacity. An opacity
    // effect on the pod itself blended each repaint over what the window showed there before, so a closed
    // search panel and the pod's old rows stayed visible beneath it.
    if (syncing && !podDimming_->isVisible()) {
        QPalette veil = palette();
        QColor colour = veil.color(QPalette::Window);
        colour.setAlphaF(static_cast<float>(1.0 - dimmedOpacity));
        veil.setColor(QPalette::Window, colour);
        podDimming_->setPalette(veil);
    }
    podDimming_->setVisible(syncing);
    // A library started before its access was refused lies under the not-authorised screen: no key reaches
    // it.
    setPodEnabled(!syncing && !isNotAuthorized_);
    updateStatusOverlay();
}

// Disabling the pod passes the keyboard focus on as Tab would; once the sync is over, the list that had it
// takes it back, unless the focus has been put somewhere else meanwhile.
void MainContentView::setPodEnabled(bool enabled) {
    if (enabled == podArea_->isEnabled()) {
        return;
    }
    if (!enabled) {
        QWidget* focused = QApplication::focusWidget();
        focusBeforeSync_ = focused && podArea_->isAncestorOf(focused) ? focused : nullptr;
        podArea_->setEnabled(false);
        focusDuringSync_ = QApplication::focusWidget();
        return;
    }
    podArea_->setEnabled(true);
    if (focusBeforeSync_ && QApplication::focusWidget() == focusDuringSync_.data()) {
        focusBeforeSync_->setFocus(Qt::OtherFocusReason);
    }
}

void MainContentView::addToastDidShow() {
    const int generation = ++addToastGeneration_;
    QTimer::singleShot(addToastDurationMs, this, [this, generation] {
        if (generation == addToastGeneration_) {
            models_.main->showAddToast.set(false);
        }
        // The added song reaches the stored library by the insert-only sync, a little after the toast.
        AppEnvironment& environment = models_.environment;
        QTimer::singleShot(insertSyncDelayMs, &environment, [&environment] {
            SharedStore& store = environment.store();
            environment.background().run([&store](std::stop_token stopToken) {
                MarrowbellCore::SyncEngine(store.database()).syncInserts(stopToken);
            });
        });
    });
}

void MainContentView::showPlayErrorAlert() {
    if (!models_.main->showPlayError.get() || playError_) {
        return;
    }
    playError_ = new QMessageBox(QMessageBox::Warning, tr("The selected item could not be played."),
                                 tr("The selected item could not be played."), QMessageBox::Ok, this);
    playError_->setInformativeText(tr("Please ensure you have a working Internet connection and the item is "
                                      "still available in the %1 catalog.")
                                       .arg(models_.environment.service().displayName()));
    playError_->setAttribute(Qt::WA_DeleteOnClose);
    // The closed alert deletes itself later; the next failed play makes an alert of its own.
    connect(playError_, &QMessageBox::finished, this, [this] {
        playError_ = nullptr;
        models_.main->showPlayError.set(false);
    });
    playError_->open();
}

void MainContentView::showSyncFailureAlert() {
    const std::optional<QString> failure = models_.main->fullSyncFailure.get();
    if (!failure) {
        return;
    }
    if (syncFailure_) {
        syncFailure_->close();
    }
    syncFailure_ = new QMessageBox(QMessageBox::Warning, tr("The library could not be synced."),
                                   tr("The library could not be synced."), QMessageBox::Ok, this);
    syncFailure_->setInformativeText(
        *failure + QStringLiteral("\n\n") +
        tr("The library shown may be incomplete. Choose Update Library to try again."));
    syncFailure_->setAttribute(Qt::WA_DeleteOnClose);
    connect(syncFailure_, &QMessageBox::finished, this, [this] { syncFailure_ = nullptr; });
    // The first sync can fail before the window system has placed the window, which then moves away from
    // where the alert was centred: while it is open, the alert stays centred over the window.
    window()->installEventFilter(this);
    syncFailure_->open();
    centreOverWindow(*syncFailure_);
}

void MainContentView::centreOverWindow(QWidget& alert) const {
    QRect frame = alert.frameGeometry();
    frame.moveCenter(window()->frameGeometry().center());
    alert.move(frame.topLeft());
}

void MainContentView::showSearch(std::optional<SearchPickerSelection> source) {
    searchWindow_->show(source);
}

void MainContentView::closeSearch() {
    searchWindow_->close();
}

void MainContentView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeOverlays();
}

bool MainContentView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() && syncFailure_ &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        centreOverWindow(*syncFailure_);
    } else if (watched == podArea_ && event->type() == QEvent::Resize) {
        updateColumnMode();
        placeOverlays();
    } else if (watched == searchPanel_ && event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        closeSearch();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The pod's own pane count decides, so that the model's column mode always matches the panes in view.
void MainContentView::updateColumnMode() {
    const int paneCount = pod_->view()->visiblePaneCount();
    MainViewModel& model = *models_.main;
    const bool single = paneCount == 1;
    const bool twoColumns = paneCount == 2;
    if (model.isSingleColumn.get() != single) {
        model.isSingleColumn.set(single);
    }
    if (model.isDoubleColumn.get() != twoColumns) {
        model.isDoubleColumn.set(twoColumns);
    }
}

void MainContentView::placeOverlays() {
    const QRect pod = podArea_->geometry();
    podDimming_->setGeometry(pod);
    podDimming_->raise();
    for (ToastView* toast : {addToast_, syncingToast_, connectingToast_}) {
        QRect frame(QPoint(0, 0), toast->sizeHint());
        frame.moveCenter(pod.center());
        toast->setGeometry(frame);
        toast->raise();
    }
    notAuthorized_->setGeometry(pod);
    notAuthorized_->raise();
    // The bar places itself; raised here so that it stays above the not-authorised screen.
    playerBar_->raise();
    searchWindow_->place();
    searchPanel_->raise();
}

} // namespace Marrowbell
