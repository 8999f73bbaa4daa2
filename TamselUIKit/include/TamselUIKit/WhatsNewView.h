#pragma once

#include "TamselUIKit/Feature.h"

#include <QDialog>
#include <QList>

namespace TamselUIKit {

class WhatsNewContentView;

/// The What's New panel as a sheet: present it with open() on a parent window; "Continue" (or Return)
/// accepts and so closes it. GUI thread.
class WhatsNewView : public QDialog {
    Q_OBJECT

public:
    explicit WhatsNewView(const QList<Feature>& features, QWidget* parent = nullptr);

    WhatsNewContentView* content() const { return content_; }

private:
    WhatsNewContentView* content_ = nullptr;
};

} // namespace TamselUIKit
