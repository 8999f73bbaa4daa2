#include "Lists/SelectionEmphasis.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>

namespace Marrowbell {
namespace {

// How far the grey of an unfocused selection goes from the background towards the text.
constexpr double inactiveGreyShare = 0.15;

QColor mixed(const QColor& from, const QColor& to, double share) {
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

void applyEmphasis(QAbstractItemView& view) {
    const QPalette natural = QApplication::palette(&view);
    QColor background = natural.color(QPalette::Active, QPalette::Highlight);
    QColor text = natural.color(QPalette::Active, QPalette::HighlightedText);
    if (!view.hasFocus()) {
        if (natural.color(QPalette::Inactive, QPalette::Highlight) != background) {
            background = natural.color(QPalette::Inactive, QPalette::Highlight);
            text = natural.color(QPalette::Inactive, QPalette::HighlightedText);
        } else {
            background = mixed(natural.color(QPalette::Active, QPalette::Base),
                               natural.color(QPalette::Active, QPalette::Text), inactiveGreyShare);
            text = natural.color(QPalette::Active, QPalette::Text);
        }
    }
    // Both groups: an unfocused list in the active window and any list of an inactive one look alike.
    QPalette palette = view.palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, background);
        palette.setColor(group, QPalette::HighlightedText, text);
    }
    view.setPalette(palette);
}

class FocusFollower final : public QObject {
public:
    explicit FocusFollower(QAbstractItemView& view)
        : QObject(&view)
        , view_(view) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::ApplicationPaletteChange:
            applyEmphasis(view_);
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractItemView& view_;
};

} // namespace

void emphasizeSelectionOnlyWhileFocused(QAbstractItemView& view) {
    view.installEventFilter(new FocusFollower(view));
    applyEmphasis(view);
}

} // namespace Marrowbell
