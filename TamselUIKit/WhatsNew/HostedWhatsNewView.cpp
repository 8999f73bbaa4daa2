#include "TamselUIKit/HostedWhatsNewView.h"

#include "TamselUIKit/HostedWindowDismiss.h"
#include "TamselUIKit/WhatsNewContentView.h"

#include <QVBoxLayout>

namespace TamselUIKit {

HostedWhatsNewView::HostedWhatsNewView(const QList<Feature>& features, QWidget* parent)
    : QWidget(parent)
    , content_(new WhatsNewContentView(
          features,
          [this] {
              if (auto* windowDismiss = HostedWindowDismiss::find(this)) {
                  windowDismiss->dismiss();
              }
          },
          this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace TamselUIKit
