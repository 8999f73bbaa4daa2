#include "TamselUIKit/EdgePinning.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace TamselUIKit {
namespace {

class EdgePin : public QObject {
public:
    EdgePin(QWidget& view, QWidget& other)
        : QObject(&view)
        , view_(view)
        , other_(&other) {
        other.installEventFilter(this);
        follow();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == other_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
            follow();
        }
        return false;
    }

private:
    void follow() {
        if (!other_) {
            return;
        }
        const QPoint otherOrigin = other_->mapToGlobal(QPoint(0, 0));
        QWidget* parent = view_.parentWidget();
        view_.setGeometry(QRect(parent ? parent->mapFromGlobal(otherOrigin) : otherOrigin, other_->size()));
    }

    QWidget& view_;
    QPointer<QWidget> other_;
};

} // namespace

QObject* pinEdges(QWidget& view, QWidget& other) {
    return new EdgePin(view, other);
}

} // namespace TamselUIKit
