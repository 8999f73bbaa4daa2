#pragma once

#include "TamselUIKit/Feature.h"

#include <QList>
#include <QWidget>
#include <functional>

class QPushButton;

namespace TamselUIKit {

/// The What's New panel's content, 520 wide: the title "What's New in " + the application's name, one row per
/// feature in list order, and "Continue", the default button (Return), which runs `dismiss`. GUI thread.
class WhatsNewContentView : public QWidget {
    Q_OBJECT

public:
    WhatsNewContentView(const QList<Feature>& features, std::function<void()> dismiss,
                        QWidget* parent = nullptr);

    QPushButton* continueButton() const { return continueButton_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> dismiss_;
    QPushButton* continueButton_ = nullptr;
};

} // namespace TamselUIKit
