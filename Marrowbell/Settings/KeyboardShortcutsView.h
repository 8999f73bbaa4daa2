#pragma once

#include <QWidget>

namespace Marrowbell {

/// The content of the "Keyboard Shortcuts" window: the application's shortcuts and gestures as text, with
/// the keys written as this platform writes them, from the bindings the menus use. 400 wide, as tall as its
/// text. Every time it is shown it sends the usage signal "view_keyboard_shortcuts". GUI thread.
class KeyboardShortcutsView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int contentWidth = 400;

    /// `serviceName` is the music service's display name, as the catalog search row names it.
    explicit KeyboardShortcutsView(const QString& serviceName, QWidget* parent = nullptr);

    /// 400 wide and exactly as tall as the wrapped text needs at that width.
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace Marrowbell
