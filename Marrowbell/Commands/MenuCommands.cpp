#include "Commands/MenuCommands.h"

#include "Commands/CommandKeyRouting.h"
#include "Commands/KeyboardShortcuts.h"
#include "Model/MainViewModel.h"
#include "Observation/ObservationTracking.h"

#include <QActionGroup>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>

namespace Marrowbell {

MenuCommands::MenuCommands(QMenuBar& bar, MainViewModel& model, const QString& serviceDisplayName,
                           MenuActions actions)
    : QObject(&bar)
    , model_(model)
    , callbacks_(std::move(actions)) {
    addFileMenu(bar, serviceDisplayName);
    addEditMenu(bar);
    addSongMenu(bar);
    addViewMenu(bar);
    addControlsMenu(bar);
    addWindowMenu(bar);
    addHelpMenu(bar);
    new CommandKeyRouting(keyedActions(), this);
    followModel();
    updateStates();
}

MenuCommands::~MenuCommands() = default;

QAction* MenuCommands::add(QMenu* menu, MenuCommand command, const QString& title,
                           std::function<void()> run) {
    QAction* item = menu->addAction(title);
    connect(item, &QAction::triggered, this, [run = std::move(run)] { run(); });
    actions_[command] = item;
    return item;
}

void MenuCommands::addFileMenu(QMenuBar& bar, const QString& serviceDisplayName) {
    QMenu* file = bar.addMenu(tr("&File"));
    add(file, MenuCommand::search, tr("Search"), [this] {
        callbacks_.showSearch(false);
    })->setShortcut(KeyboardShortcuts::search);
    add(file, MenuCommand::searchCatalog, tr("Search %1").arg(serviceDisplayName), [this] {
        callbacks_.showSearch(true);
    })->setShortcut(KeyboardShortcuts::searchCatalog);
    file->addSeparator();
    add(file, MenuCommand::updateLibrary, tr("Update Library"), [this] {
        model_.performFullSync();
    })->setShortcut(KeyboardShortcuts::updateLibrary);
    file->addSeparator();
    QAction* quit = add(file, MenuCommand::quit, tr("Quit"), [this] { callbacks_.quit(); });
    quit->setShortcut(KeyboardShortcuts::quit);
    quit->setMenuRole(QAction::QuitRole);
}

void MenuCommands::addEditMenu(QMenuBar& bar) {
    QMenu* edit = bar.addMenu(tr("&Edit"));
    QAction* settings =
        add(edit, MenuCommand::settings, tr("Settings…"), [this] { callbacks_.openSettings(); });
    settings->setShortcut(KeyboardShortcuts::settings);
    settings->setMenuRole(QAction::PreferencesRole);
    add(edit, MenuCommand::checkForUpdates, tr("Check for Updates…"),
        [this] { callbacks_.checkForUpdates(); });
}

void MenuCommands::addSongMenu(QMenuBar& bar) {
    QMenu* song = bar.addMenu(tr("&Song"));
    add(song, MenuCommand::addToLibrary, tr("Add to Library"), [this] {
        model_.addPlayingSongToLibrary();
    })->setShortcut(KeyboardShortcuts::addToLibrary);
    add(song, MenuCommand::share, tr("Copy Song Link"), [this] {
        if (const auto link = model_.shareLink.get()) {
            QGuiApplication::clipboard()->setText(link->toString());
        }
    })->setShortcut(KeyboardShortcuts::share);
}

void MenuCommands::addViewMenu(QMenuBar& bar) {
    QMenu* view = bar.addMenu(tr("&View"));
    add(view, MenuCommand::back, tr("Back"), [this] {
        model_.navigateBack();
    })->setShortcut(KeyboardShortcuts::back);
    add(view, MenuCommand::snapBack, tr("Library SnapBack"), [this] {
        model_.snapBack();
    })->setShortcut(KeyboardShortcuts::snapBack);
}

void MenuCommands::addControlsMenu(QMenuBar& bar) {
    QMenu* controls = bar.addMenu(tr("&Controls"));
    // Decided when chosen, from the state at that moment rather than the title shown.
    QAction* playPause = add(controls, MenuCommand::playPause, tr("Play"), [this] {
        if (model_.isPlaying.get()) {
            model_.pause();
        } else {
            model_.resume();
        }
    });
    playPause->setShortcut(KeyboardShortcuts::playPause);
    add(controls, MenuCommand::stop, tr("Stop"), [this] {
        model_.stop();
    })->setShortcut(KeyboardShortcuts::stop);
    add(controls, MenuCommand::nextTrack, tr("Next Track"), [this] {
        model_.skipToNextEntry();
    })->setShortcut(KeyboardShortcuts::nextTrack);
    add(controls, MenuCommand::previousTrack, tr("Previous Track"), [this] {
        model_.skipToPreviousEntry();
    })->setShortcut(KeyboardShortcuts::previousTrack);
    controls->addSeparator();
    QAction* shuffle = add(controls, MenuCommand::shuffle, tr("Shuffle"), [] {});
    shuffle->setCheckable(true);
    connect(shuffle, &QAction::triggered, this, [this](bool checked) { model_.setShuffled(checked); });
    controls->addSeparator();
    auto* repeat = new QActionGroup(controls);
    const std::pair<MenuCommand, MusicKit::MusicPlayerRepeatMode> modes[] = {
        {MenuCommand::repeatOff, MusicKit::MusicPlayerRepeatMode::none},
        {MenuCommand::repeatAll, MusicKit::MusicPlayerRepeatMode::all},
        {MenuCommand::repeatOne, MusicKit::MusicPlayerRepeatMode::one}};
    const QString titles[] = {tr("Repeat Off"), tr("Repeat All"), tr("Repeat One")};
    for (std::size_t i = 0; i < std::size(modes); ++i) {
        const auto mode = modes[i].second;
        QAction* item =
            add(controls, modes[i].first, titles[i], [this, mode] { model_.setRepeatMode(mode); });
        item->setCheckable(true);
        repeat->addAction(item);
    }
}

void MenuCommands::addWindowMenu(QMenuBar& bar) {
    QMenu* window = bar.addMenu(tr("&Window"));
    add(window, MenuCommand::minimize, tr("Minimize"), [this] {
        callbacks_.minimizeMainWindow();
    })->setShortcut(KeyboardShortcuts::minimize);
    window->addSeparator();
    add(window, MenuCommand::showMainWindow, tr("Marrowbell"), [this] { callbacks_.showMainWindow(); });
}

void MenuCommands::addHelpMenu(QMenuBar& bar) {
    QMenu* help = bar.addMenu(tr("&Help"));
    // The three open the same feedback window; nothing tells it which item opened it.
    add(help, MenuCommand::reportIssue, tr("Report Issue…"), [this] { callbacks_.openFeedback(); });
    add(help, MenuCommand::requestFeature, tr("Request Feature…"), [this] { callbacks_.openFeedback(); });
    add(help, MenuCommand::sendFeedback, tr("Send Feedback…"), [this] { callbacks_.openFeedback(); });
    help->addSeparator();
    add(help, MenuCommand::resetData, tr("Reset Data"), [this] { callbacks_.resetData(); });
    help->addSeparator();
    add(help, MenuCommand::keyboardShortcuts, tr("Keyboard Shortcuts"),
        [this] { callbacks_.openKeyboardShortcuts(); });
    add(help, MenuCommand::help, tr("Marrowbell Help"),
        [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(helpPageURL))); });
    help->addSeparator();
    add(help, MenuCommand::about, tr("About Marrowbell"), [this] {
        callbacks_.showAbout();
    })->setMenuRole(QAction::AboutRole);
}

QList<QAction*> MenuCommands::keyedActions() const {
    QList<QAction*> keyed;
    for (const auto& [command, item] : actions_) {
        if (!item->shortcut().isEmpty()) {
            keyed.append(item);
        }
    }
    return keyed;
}

void MenuCommands::followModel() {
    auto update = [this](const auto&, const auto&) { updateStates(); };
    tokens_.push_back(ObservationTracking::observe(&model_, &MainViewModel::isPlaying, update));
    tokens_.push_back(ObservationTracking::observe(&model_, &MainViewModel::isStopped, update));
    tokens_.push_back(ObservationTracking::observe(&model_, &MainViewModel::canAddToLibrary, update));
    tokens_.push_back(ObservationTracking::observe(&model_, &MainViewModel::shareLink, update));
    tokens_.push_back(ObservationTracking::observe(&model_, &MainViewModel::activePane, update));
    tokens_.push_back(ObservationTracking::observe(&model_, &MainViewModel::lastSavedSnapbackState, update));
    tokens_.push_back(ObservationTracking::observe(&model_, &MainViewModel::isShuffled, update));
    tokens_.push_back(ObservationTracking::observe(&model_, &MainViewModel::repeatMode, update));
}

void MenuCommands::updateStates() {
    const bool stopped = model_.isStopped.get();
    action(MenuCommand::addToLibrary)->setEnabled(model_.canAddToLibrary.get());
    action(MenuCommand::share)->setVisible(model_.shareLink.get().has_value());
    action(MenuCommand::back)->setEnabled(model_.activePane.get() >= 1);
    action(MenuCommand::snapBack)->setEnabled(model_.lastSavedSnapbackState.get().has_value());
    action(MenuCommand::playPause)->setText(model_.isPlaying.get() ? tr("Pause") : tr("Play"));
    for (MenuCommand command :
         {MenuCommand::playPause, MenuCommand::stop, MenuCommand::nextTrack, MenuCommand::previousTrack}) {
        action(command)->setEnabled(!stopped);
    }
    action(MenuCommand::shuffle)->setChecked(model_.isShuffled());
    const MusicKit::MusicPlayerRepeatMode repeat = model_.repeatMode();
    action(MenuCommand::repeatOff)->setChecked(repeat == MusicKit::MusicPlayerRepeatMode::none);
    action(MenuCommand::repeatAll)->setChecked(repeat == MusicKit::MusicPlayerRepeatMode::all);
    action(MenuCommand::repeatOne)->setChecked(repeat == MusicKit::MusicPlayerRepeatMode::one);
}

} // namespace Marrowbell
