#include "TamselUIKit/WhatsNewContentView.h"

#include "TamselUIKit/AppDisplayName.h"
#include "TamselUIKit/FeatureView.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace TamselUIKit {

using namespace Qt::StringLiterals;

namespace {

constexpr int panelWidth = 520;
constexpr int largeTitleScale = 2;

QLabel* makeTitle(QWidget* parent) {
    auto* title = new QLabel(WhatsNewContentView::tr("What's New in %1").arg(appDisplayName()), parent);
    title->setObjectName(u"title"_s);
    title->setTextFormat(Qt::PlainText);
    title->setAlignment(Qt::AlignCenter);
    QFont largeTitle = title->font();
    largeTitle.setPointSizeF(largeTitle.pointSizeF() * largeTitleScale);
    largeTitle.setBold(true);
    title->setFont(largeTitle);
    return title;
}

} // namespace

WhatsNewContentView::WhatsNewContentView(const QList<Feature>& features, std::function<void()> dismiss,
                                         QWidget* parent)
    : QWidget(parent)
    , dismiss_(std::move(dismiss)) {
    auto* featureList = new QVBoxLayout;
    featureList->setSpacing(16);
    featureList->setContentsMargins(0, 0, 0, 18);
    for (const auto& feature : features) {
        featureList->addWidget(new FeatureView(feature, this));
    }

    continueButton_ = new QPushButton(tr("Continue"), this);
    continueButton_->setDefault(true);
    connect(continueButton_, &QPushButton::clicked, this, [this] {
        if (dismiss_) {
            dismiss_();
        }
    });
    setFocusProxy(continueButton_);

    auto* column = new QVBoxLayout(this);
    column->setSpacing(54);
    column->setContentsMargins(72, 72, 72, 36);
    column->addWidget(makeTitle(this));
    column->addLayout(featureList);
    column->addWidget(continueButton_, 0, Qt::AlignHCenter);
    setFixedWidth(panelWidth);
}

void WhatsNewContentView::keyPressEvent(QKeyEvent* event) {
    // Return reaches the panel when no button has focus, as in a window that is not a dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        continueButton_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace TamselUIKit
