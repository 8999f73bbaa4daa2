#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

class QAction;

namespace Marrowbell {

/// The windows opened on request.
enum class AppWindow { settings, sendFeedback, keyboardShortcuts };

/// Opens the settings, "Send Feedback" and "Keyboard Shortcuts" windows: each is created on first use, at
/// most one of each exists, and opening an open one brings it to the front. A window is as tall as its
/// content and resizes within the content's width bounds; it first opens centred on the screen of the
/// active window. The menu bar's commands answer their keys in each of them as in the main window; Ctrl+W
/// closes the active one. GUI thread.
class WindowManager final : public QObject {
    Q_OBJECT

public:
    using ContentFactory = std::function<QWidget*()>;

    using QObject::QObject;
    ~WindowManager() override;

    /// Gives the window its real content in place of the placeholder; takes effect when it is next created.
    void setContentFactory(AppWindow window, ContentFactory factory);
    /// The menu bar's commands with keys; takes effect for the windows created from then on.
    void serveCommands(QList<QAction*> commands);

    /// Creates the window when needed, shows it and brings it to the front; returns it.
    QWidget* open(AppWindow window);
    /// The window, when it exists.
    QWidget* existing(AppWindow window) const;
    void closeAll();

    static QString title(AppWindow window);

private:
    QWidget* create(AppWindow window);
    static void centreOnScreen(QWidget& window);

    std::map<AppWindow, ContentFactory> factories_;
    std::map<AppWindow, QPointer<QWidget>> windows_;
    QList<QAction*> commands_;
};

} // namespace Marrowbell
