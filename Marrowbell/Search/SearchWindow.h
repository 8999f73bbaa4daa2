#pragma once

#include "Search/SearchViewModel.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

class QMouseEvent;

namespace Marrowbell {

class AppModels;
class ObservationTrackingToken;
class OverlayPanel;
class SearchView;

/// The search panel over the main window: puts a SearchView into `panel`, shows the panel when the view
/// model asks for it (raised, placed below the toolbar, the field focused) and hides it when asked to close,
/// when the view asks to close (Escape, a played result), as soon as the keyboard focus moves outside it
/// (also to another window or application) and on a press anywhere outside it but on the widgets that never
/// take the keyboard (the player bar). A panel that closes with the focus hands it back to the widget that
/// had it before the panel showed, as code does, not as the user.
/// The panel is as tall as the view's results last wanted while it showed, within what the window leaves
/// room for, and is placed again whenever that height changes; a height wanted while it is closed is
/// ignored. GUI thread.
class SearchWindow final : public QObject {
    Q_OBJECT

public:
    SearchWindow(AppModels& models, SearchViewModel& viewModel, const QString& catalogName,
                 OverlayPanel& panel, QObject* parent = nullptr);
    ~SearchWindow() override;

    /// Chooses `source` when given, then shows the panel at once (the "Search" commands, the toolbar button).
    void show(std::optional<SearchPickerSelection> source = std::nullopt);
    /// Hides the panel on the next turn of the event loop; a second request before then changes nothing.
    void close();
    /// Places the panel in its parent, which has just been resized.
    void place();
    /// A press on `widget` (or inside it) leaves the panel open: it never takes the keyboard.
    void keepOpenOnPressesIn(QWidget& widget);

    SearchView& view() const { return *view_; }
    bool isShown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isOutside(const QWidget& pressed, const QMouseEvent& press) const;
    void attach();
    void detach();
    void focusMoved(QWidget* now);
    void returnFocus();

    SearchViewModel& viewModel_;
    OverlayPanel& panel_;
    SearchView* view_;
    int lastHeight_;
    std::vector<QPointer<QWidget>> keepsOpen_;
    QPointer<QWidget> focusBeforeShowing_;
    std::vector<std::shared_ptr<ObservationTrackingToken>> tokens_;
};

} // namespace Marrowbell
