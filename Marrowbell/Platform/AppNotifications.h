#pragma once

#include <QObject>

namespace Marrowbell {

/// The application's in-process notifications, one signal each. Emitted and received on the GUI thread.
class AppNotifications final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    /// The playing item or the play state changed: list rows redraw their now-playing marks.
    void reloadVisibleRows();
    /// An appearance setting changed: lists re-read the display settings.
    void reloadAppearance();
    /// A row was clicked in the active window: a single-column pod moves one pane right.
    void navigateRightOnSelection();
};

} // namespace Marrowbell
