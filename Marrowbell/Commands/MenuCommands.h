#pragma once

#include <QList>
#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace Marrowbell {

class MainViewModel;
class ObservationTrackingToken;

/// What the menu items that reach beyond the central model do.
struct MenuActions {
    std::function<void()> quit;
    std::function<void()> showMainWindow;
    std::function<void()> minimizeMainWindow;
    std::function<void()> openSettings;
    std::function<void()> openFeedback;
    std::function<void()> openKeyboardShortcuts;
    std::function<void()> checkForUpdates;
    std::function<void()> resetData;
    std::function<void()> showAbout;
    /// Shows the search panel on the library (false) or the service's catalog (true).
    std::function<void(bool catalog)> showSearch;
};

/// Every menu command.
enum class MenuCommand {
    search,
    searchCatalog,
    updateLibrary,
    quit,
    settings,
    checkForUpdates,
    addToLibrary,
    share,
    back,
    snapBack,
    playPause,
    stop,
    nextTrack,
    previousTrack,
    shuffle,
    repeatOff,
    repeatAll,
    repeatOne,
    minimize,
    showMainWindow,
    reportIssue,
    requestFeature,
    sendFeedback,
    resetData,
    keyboardShortcuts,
    help,
    about,
};

/// The menu bar: File, Edit, Song, View, Controls, Window and Help with their key bindings
/// (KeyboardShortcuts), which act in every window that adds `keyedActions()`, unless the focused control uses
/// the key itself (CommandKeyRouting). Titles, check marks and enabled states follow the
/// central model; a disabled command's key does nothing; transport commands call the model's operations,
/// which report their own failures. GUI thread.
class MenuCommands final : public QObject {
    Q_OBJECT

public:
    /// The product's web page that "Marrowbell Help" opens.
    static constexpr const char* helpPageURL = "https://www.brondletamsel.com/marrowbell/help";

    MenuCommands(QMenuBar& bar, MainViewModel& model, const QString& serviceDisplayName, MenuActions actions);
    ~MenuCommands() override;

    QAction* action(MenuCommand command) const { return actions_.at(command); }
    /// The commands that have a key: a window that adds them answers their keys as the main window does.
    QList<QAction*> keyedActions() const;

private:
    QAction* add(QMenu* menu, MenuCommand command, const QString& title, std::function<void()> run);
    void addFileMenu(QMenuBar& bar, const QString& serviceDisplayName);
    void addEditMenu(QMenuBar& bar);
    void addSongMenu(QMenuBar& bar);
    void addViewMenu(QMenuBar& bar);
    void addControlsMenu(QMenuBar& bar);
    void addWindowMenu(QMenuBar& bar);
    void addHelpMenu(QMenuBar& bar);
    void followModel();
    void updateStates();

    MainViewModel& model_;
    MenuActions callbacks_;
    std::map<MenuCommand, QAction*> actions_;
    std::vector<std::shared_ptr<ObservationTrackingToken>> tokens_;
};

} // namespace Marrowbell
