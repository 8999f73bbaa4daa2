#include "Windows/WindowManager.h"

#include "Commands/KeyboardShortcuts.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

namespace Marrowbell {

WindowManager::~WindowManager() {
    for (auto& [window, widget] : windows_) {
        delete widget;
    }
}

QString WindowManager::title(AppWindow window) {
    switch (window) {
    case AppWindow::settings:
        return tr("Settings");
    case AppWindow::sendFeedback:
        return tr("Send Feedback");
    case AppWindow::keyboardShortcuts:
        return tr("Keyboard Shortcuts");
    }
    return {};
}

void WindowManager::setContentFactory(AppWindow window, ContentFactory factory) {
    factories_[window] = std::move(factory);
}

void WindowManager::serveCommands(QList<QAction*> commands) {
    commands_ = std::move(commands);
}

QWidget* WindowManager::existing(AppWindow window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.data();
}

QWidget* WindowManager::open(AppWindow window) {
    QWidget* widget = existing(window);
    if (!widget) {
        widget = create(window);
        windows_[window] = widget;
        centreOnScreen(*widget);
    }
    widget->show();
    widget->raise();
    widget->activateWindow();
    return widget;
}

void WindowManager::closeAll() {
    for (auto& [window, widget] : windows_) {
        if (widget) {
            widget->close();
        }
    }
}

QWidget* WindowManager::create(AppWindow window) {
    // A top-level window of its own; closing it only hides it, so it keeps its state for the next opening.
    auto* frame = new QWidget(nullptr, Qt::Window);
    frame->setWindowTitle(title(window));
    new QShortcut(QKeySequence(KeyboardShortcuts::closeWindow), frame, frame, &QWidget::close);
    // The menu bar serves every window of the application, as the platform's does.
    frame->addActions(commands_);
    auto* layout = new QVBoxLayout(frame);
    // The content brings its own padding and width bounds; the window is as tall as the content and as
    // wide as the user likes within those bounds.
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetMinAndMaxSize);
    QWidget* content = nullptr;
    const auto factory = factories_.find(window);
    if (factory != factories_.end() && factory->second) {
        content = factory->second();
    } else {
        auto* placeholder = new QLabel(title(window), frame);
        placeholder->setAlignment(Qt::AlignCenter);
        placeholder->setMinimumSize(320, 120);
        content = placeholder;
    }
    content->setSizePolicy(content->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    layout->addWidget(content);
    return frame;
}

void WindowManager::centreOnScreen(QWidget& window) {
    // Laid out first, so that the size centred is the size shown.
    window.layout()->activate();
    window.adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (const QWidget* active = QApplication::activeWindow()) {
        screen = active->screen();
    }
    if (screen) {
        window.setGeometry(QStyle::alignedRect(window.layoutDirection(), Qt::AlignCenter, window.size(),
                                               screen->availableGeometry()));
    }
}

} // namespace Marrowbell
