#include "TamselUIKit/PlaygroundWrapperViewController.h"

namespace TamselUIKit {

PlaygroundWrapperViewController::Coordinator::Coordinator(PlaygroundWrapperViewController* parent)
    : parent_(parent) {}

void PlaygroundWrapperViewController::Coordinator::imagePlaygroundViewControllerDidCancel() {
    if (parent_) {
        parent_->dismiss();
    }
}

void PlaygroundWrapperViewController::Coordinator::imagePlaygroundViewControllerDidCreateImageAt(
    const QUrl& url) {
    if (parent_) {
        parent_->createAt(url);
    }
}

bool PlaygroundWrapperViewController::isAvailable() {
    return false;
}

PlaygroundWrapperViewController::PlaygroundWrapperViewController(QWidget* parent)
    : QDialog(parent)
    , coordinator_(std::make_shared<Coordinator>(this)) {}

void PlaygroundWrapperViewController::dismiss() {
    if (isVisible()) {
        close();
    }
}

void PlaygroundWrapperViewController::createAt(const QUrl& url) {
    dismiss();
    if (didCreateImage_) {
        didCreateImage_(url);
    }
}

} // namespace TamselUIKit
