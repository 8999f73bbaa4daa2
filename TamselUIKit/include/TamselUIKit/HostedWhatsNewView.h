#pragma once

#include "TamselUIKit/Feature.h"

#include <QList>
#include <QWidget>

namespace TamselUIKit {

class WhatsNewContentView;

/// The What's New panel for a window that hosts it: "Continue" (or Return) runs the HostedWindowDismiss
/// of the nearest host around the panel, and does nothing without one or while its action is unset.
/// GUI thread.
class HostedWhatsNewView : public QWidget {
    Q_OBJECT

public:
    explicit HostedWhatsNewView(const QList<Feature>& features, QWidget* parent = nullptr);

    WhatsNewContentView* content() const { return content_; }

private:
    WhatsNewContentView* content_ = nullptr;
};

} // namespace TamselUIKit
