#include "TamselUIKit/WhatsNewView.h"

#include "TamselUIKit/WhatsNewContentView.h"

#include <QVBoxLayout>

namespace TamselUIKit {

WhatsNewView::WhatsNewView(const QList<Feature>& features, QWidget* parent)
    : QDialog(parent)
    , content_(new WhatsNewContentView(
          features, [this] { accept(); }, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setWindowModality(Qt::WindowModal);
}

} // namespace TamselUIKit
