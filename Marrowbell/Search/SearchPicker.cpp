#include "Search/SearchPicker.h"

#include "Commands/KeyboardShortcuts.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPropertyAnimation>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>

namespace Marrowbell {
namespace {

constexpr double capsuleOpacity = 0.35;

} // namespace

SearchPicker::SearchPicker(const QString& catalogName, QWidget* shortcutScope, QWidget* parent)
    : QWidget(parent)
    , library_(makeButton(tr("Library"), SearchPickerSelection::library,
                          KeyboardShortcuts::searchLibrarySource, shortcutScope))
    , catalog_(makeButton(catalogName, SearchPickerSelection::catalog, KeyboardShortcuts::searchCatalogSource,
                          shortcutScope))
    , slide_(new QPropertyAnimation(this, "capsule", this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(library_);
    layout->addWidget(catalog_);
    slide_->setDuration(capsuleSlideMs);
    // A slight overshoot, as a lightly damped spring settles.
    slide_->setEasingCurve(QEasingCurve::OutBack);
}

QToolButton* SearchPicker::makeButton(const QString& label, SearchPickerSelection selection,
                                      QKeyCombination shortcut, QWidget* shortcutScope) {
    auto* button = new QToolButton(this);
    button->setText(label);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QKeySequence(shortcut).toString(QKeySequence::NativeText));
    // Drawn flat, in a quiet text colour; the capsule behind marks the choice.
    button->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; "
                                         "padding: 3px 8px; color: palette(mid); }"));
    // Checked marks the chosen source for a screen reader, whose toggle then chooses as a click does.
    button->setCheckable(true);
    button->setAutoExclusive(true);
    connect(button, &QToolButton::toggled, this, [this, selection](bool checked) {
        if (checked) {
            Q_EMIT chosen(selection);
        }
    });
    auto* key = new QShortcut(QKeySequence(shortcut), shortcutScope);
    key->setContext(Qt::WidgetWithChildrenShortcut);
    connect(key, &QShortcut::activated, this, [this, selection] { Q_EMIT chosen(selection); });
    return button;
}

QToolButton* SearchPicker::button(SearchPickerSelection selection) const {
    return selection == SearchPickerSelection::library ? library_ : catalog_;
}

QRectF SearchPicker::capsuleFor(SearchPickerSelection selection) const {
    return QRectF(button(selection)->geometry());
}

void SearchPicker::setSelection(SearchPickerSelection selection) {
    {
        const QSignalBlocker quiet(button(selection));
        button(selection)->setChecked(true);
    }
    if (selection == selection_ && !capsule_.isNull()) {
        return;
    }
    selection_ = selection;
    slide_->stop();
    if (isVisible() && !capsule_.isNull()) {
        slide_->setStartValue(capsule_);
        slide_->setEndValue(capsuleFor(selection));
        slide_->start();
    } else {
        setCapsule(capsuleFor(selection));
    }
}

void SearchPicker::setCapsule(const QRectF& capsule) {
    capsule_ = capsule;
    update();
}

void SearchPicker::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    slide_->stop();
    setCapsule(capsuleFor(selection_));
}

void SearchPicker::paintEvent(QPaintEvent*) {
    if (capsule_.isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = palette().color(QPalette::Mid);
    fill.setAlphaF(capsuleOpacity);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    const qreal radius = capsule_.height() / 2.0;
    painter.drawRoundedRect(capsule_, radius, radius);
}

} // namespace Marrowbell
