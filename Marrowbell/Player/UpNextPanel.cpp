#include "Player/UpNextPanel.h"

#include "MainWindow/OverlayPanel.h"
#include "MainWindow/OverlayPlacement.h"
#include "Player/UpNextView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace Marrowbell {
namespace {

// Keeps the rows clear of the card's rounded corners.
constexpr int cardPadding = 10;
constexpr int gapAboveButton = 4;

} // namespace

UpNextPanel::UpNextPanel(MainViewModel& model, MusicKit::ApplicationMusicPlayer& player, QWidget& button,
                         QObject* parent)
    : QObject(parent)
    , button_(button)
    , card_(new QWidget)
    , view_(new UpNextView(model, player, card_)) {
    auto* layout = new QVBoxLayout(card_);
    layout->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
    layout->addWidget(view_);
    auto* panel = new OverlayPanel(button.window());
    panel->setContent(card_);
    panel_ = panel;
    panel_->installEventFilter(this);
    panel_->hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

UpNextPanel::~UpNextPanel() {
    qApp->removeEventFilter(this);
    if (panel_) {
        panel_->removeEventFilter(this);
        delete panel_.data();
    }
}

bool UpNextPanel::isOpen() const {
    return panel_ && panel_->isVisible();
}

void UpNextPanel::open() {
    if (!panel_ || isOpen()) {
        return;
    }
    focusBeforeOpening_ = button_.window()->focusWidget();
    place();
    panel_->show();
    panel_->raise();
    // Presses anywhere in the application are watched only while the panel is open.
    qApp->installEventFilter(this);
    view_->list()->setFocus(Qt::PopupFocusReason);
}

void UpNextPanel::close() {
    if (!isOpen()) {
        return;
    }
    qApp->removeEventFilter(this);
    QWidget* focused = QApplication::focusWidget();
    if (focused && panel_->isAncestorOf(focused)) {
        if (focusBeforeOpening_ && focusBeforeOpening_->isVisible() && focusBeforeOpening_->isEnabled()) {
            focusBeforeOpening_->setFocus(Qt::PopupFocusReason);
        } else {
            focused->clearFocus();
        }
    }
    panel_->hide();
}

// Above the button, centred on it, within the window.
void UpNextPanel::place() {
    const QSize size = card_->sizeHint() + QSize(2 * OverlayPlacement::inset, 2 * OverlayPlacement::inset);
    const QWidget& window = *panel_->parentWidget();
    const QPoint anchor = button_.mapTo(&window, QPoint(button_.width() / 2, 0));
    const int x = std::clamp(anchor.x() - size.width() / 2, 0, std::max(0, window.width() - size.width()));
    const int y = std::max(0, anchor.y() - size.height() + OverlayPlacement::inset - gapAboveButton);
    panel_->setGeometry(QRect(QPoint(x, y), size));
}

void UpNextPanel::focusMoved(QWidget* now) {
    if (isOpen() && (!now || !panel_->isAncestorOf(now))) {
        close();
    }
}

bool UpNextPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    // The bar moves with the window's size, once the window has laid it out; the panel follows it.
    if (event->type() == QEvent::Resize && isOpen() && watched == panel_->parentWidget()) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isOpen()) {
                    place();
                }
            },
            Qt::QueuedConnection);
    }
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() && isOpen()) {
        const auto* pressed = static_cast<QWidget*>(watched);
        if (pressed != panel_ && !panel_->isAncestorOf(pressed) && pressed != &button_) {
            close();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Marrowbell
