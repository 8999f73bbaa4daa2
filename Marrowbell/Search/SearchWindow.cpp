#include "Search/SearchWindow.h"

#include "MainWindow/OverlayPanel.h"
#include "MainWindow/OverlayPlacement.h"
#include "Observation/ObservationTracking.h"
#include "Search/SearchView.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace Marrowbell {

SearchWindow::SearchWindow(AppModels& models, SearchViewModel& viewModel, const QString& catalogName,
                           OverlayPanel& panel, QObject* parent)
    : QObject(parent)
    , viewModel_(viewModel)
    , panel_(panel)
    , view_(new SearchView(models, viewModel, catalogName))
    , lastHeight_(OverlayPlacement::searchFieldHeight) {
    panel_.setContent(view_);
    connect(view_, &SearchView::closeRequested, this, &SearchWindow::close);
    connect(view_, &SearchView::heightRequested, this, [this](int height) {
        if (isShown()) {
            lastHeight_ = height;
            place();
        }
    });
    // Registered once for the panel's whole life: every showing shares them.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
    tokens_.push_back(
        ObservationTracking::observe(&viewModel_, &SearchViewModel::showsSearch, [this](bool, bool shows) {
            if (shows && !isShown()) {
                attach();
            } else if (!shows && isShown()) {
                detach();
            }
        }));
}

SearchWindow::~SearchWindow() = default;

bool SearchWindow::isShown() const {
    return panel_.isVisible();
}

void SearchWindow::show(std::optional<SearchPickerSelection> source) {
    if (source) {
        viewModel_.selection.set(*source);
    }
    viewModel_.showSearch();
    if (isShown()) {
        std::puts("Search child window already has a parent, not adding again");
        return;
    }
    attach();
}

void SearchWindow::close() {
    QTimer::singleShot(0, this, [this] {
        if (viewModel_.showsSearch.get()) {
            viewModel_.showsSearch.set(false);
        }
        detach();
    });
}

void SearchWindow::attach() {
    // Presses anywhere in the application are watched only while the panel shows.
    qApp->installEventFilter(this);
    focusBeforeShowing_ = panel_.window()->focusWidget();
    panel_.show();
    panel_.raise();
    place();
    view_->focusField();
}

void SearchWindow::detach() {
    qApp->removeEventFilter(this);
    returnFocus();
    panel_.hide();
}

// Left inside the hidden panel, the focus would move on to the next widget as Tab moves it, which the pod
// takes for the user choosing that widget's pane.
void SearchWindow::returnFocus() {
    QWidget* focused = panel_.window()->focusWidget();
    if (!focused || !panel_.isAncestorOf(focused)) {
        return;
    }
    if (focusBeforeShowing_ && focusBeforeShowing_->isVisible() && focusBeforeShowing_->isEnabled()) {
        focusBeforeShowing_->setFocus(Qt::OtherFocusReason);
    } else {
        focused->clearFocus();
    }
}

void SearchWindow::place() {
    if (QWidget* window = panel_.parentWidget()) {
        panel_.setGeometry(OverlayPlacement::searchPanel(window->size(), lastHeight_));
    }
}

void SearchWindow::keepOpenOnPressesIn(QWidget& widget) {
    keepsOpen_.emplace_back(&widget);
}

// The panel is a part of the main window rather than a window of its own, so "it stops being the key
// window" becomes: the keyboard focus went to something outside it or left the application (also when
// another window becomes active), or a press landed outside it (also on what takes no focus, such as the
// toolbar's buttons). A panel already asked to close hands the focus back itself, which closes nothing more.
void SearchWindow::focusMoved(QWidget* now) {
    if (isShown() && viewModel_.showsSearch.get() && (!now || !panel_.isAncestorOf(now))) {
        close();
    }
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() && isShown() &&
        isOutside(*static_cast<QWidget*>(watched), *static_cast<QMouseEvent*>(event))) {
        close();
    }
    return QObject::eventFilter(watched, event);
}

// A press that the panel's widgets leave unhandled travels on to the widgets under the panel, so where it
// landed decides; the same holds for the widgets that keep the panel open. A popup opened from inside the
// panel is a window of its own but belongs to it.
bool SearchWindow::isOutside(const QWidget& pressed, const QMouseEvent& press) const {
    for (const QWidget* widget = &pressed; widget; widget = widget->parentWidget()) {
        if (widget == &panel_) {
            return false;
        }
    }
    const QPoint landed = press.globalPosition().toPoint();
    const auto landsOn = [&landed](const QWidget* widget) {
        return widget && widget->isVisible() && widget->rect().contains(widget->mapFromGlobal(landed));
    };
    return pressed.window() != panel_.window() ||
           !(landsOn(&panel_) || std::ranges::any_of(keepsOpen_, landsOn));
}

} // namespace Marrowbell
