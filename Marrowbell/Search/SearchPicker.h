#pragma once

#include "Search/SearchViewModel.h"

#include <QRectF>
#include <QWidget>

class QPropertyAnimation;
class QToolButton;

namespace Marrowbell {

/// The search panel's source switch: "Library" and the catalog (named after the music service), side by
/// side, the chosen one on a capsule that slides over when the choice changes and checked for a screen
/// reader. The buttons never take the keyboard focus. Ctrl+1 and Ctrl+2 choose while the focus is anywhere
/// inside `shortcutScope`. GUI thread.
class SearchPicker final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QRectF capsule READ capsule WRITE setCapsule)

public:
    static constexpr int capsuleSlideMs = 250;

    SearchPicker(const QString& catalogName, QWidget* shortcutScope, QWidget* parent = nullptr);

    /// Moves the capsule to `selection`'s button (sliding when shown); emits nothing.
    void setSelection(SearchPickerSelection selection);
    SearchPickerSelection selection() const { return selection_; }

    QToolButton* libraryButton() const { return library_; }
    QToolButton* catalogButton() const { return catalog_; }

    QRectF capsule() const { return capsule_; }
    void setCapsule(const QRectF& capsule);

Q_SIGNALS:
    /// The other button or a shortcut chose `selection` (a shortcut also the one already chosen).
    void chosen(Marrowbell::SearchPickerSelection selection);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* makeButton(const QString& label, SearchPickerSelection selection, QKeyCombination shortcut,
                            QWidget* shortcutScope);
    QToolButton* button(SearchPickerSelection selection) const;
    QRectF capsuleFor(SearchPickerSelection selection) const;

    QToolButton* library_;
    QToolButton* catalog_;
    SearchPickerSelection selection_ = SearchPickerSelection::library;
    QRectF capsule_;
    QPropertyAnimation* slide_;
};

} // namespace Marrowbell
