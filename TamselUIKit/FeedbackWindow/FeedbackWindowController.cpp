#include "TamselUIKit/FeedbackWindowController.h"

#include "TamselUIKit/FeedbackView.h"

#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace TamselUIKit {

FeedbackWindowController::FeedbackWindowController(const QString& token, const QString& productName,
                                                   const QString& email,
                                                   const std::optional<IncludedLogs>& includedLogs,
                                                   QWidget* parent)
    : QWidget(parent, Qt::Window)
    , view_(new FeedbackView(token, productName, email, includedLogs, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    // The height follows the form; the width stays between the form's bounds.
    layout->setSizeConstraint(QLayout::SetMinAndMaxSize);
    setWindowTitle(tr("Send Feedback"));
    connect(view_, &FeedbackView::dismissRequested, this, &QWidget::close);
    adjustSize();
    setGeometry(
        QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size(), screen()->availableGeometry()));
}

} // namespace TamselUIKit
