#include "WelcomeRecentRow.h"

#include "TamselUIKit/WelcomeViewModel.h"

#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace TamselUIKit {

using namespace Qt::StringLiterals;

namespace {

constexpr int iconSide = 64;

QPixmap thumbnailPixmap(const QImage& thumbnail, bool interpolate, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(iconSide, iconSide) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, interpolate);
    painter.setRenderHint(QPainter::Antialiasing, interpolate);
    const QSize fitted = thumbnail.size().scaled(iconSide, iconSide, Qt::KeepAspectRatio);
    const QRect target((iconSide - fitted.width()) / 2, (iconSide - fitted.height()) / 2, fitted.width(),
                       fitted.height());
    painter.fillRect(target, Qt::white);
    painter.drawImage(target, thumbnail);
    return pixmap;
}

QGraphicsDropShadowEffect* makeShadow(QObject* parent) {
    auto* shadow = new QGraphicsDropShadowEffect(parent);
    shadow->setColor(QColor(0, 0, 0, 51));
    shadow->setBlurRadius(2);
    shadow->setOffset(0, 1);
    return shadow;
}

} // namespace

WelcomeRecentRow::WelcomeRecentRow(const WelcomeRecent& recent, const WelcomeViewModel& viewModel,
                                   QWidget* parent)
    : QWidget(parent)
    , recent_(recent)
    , viewModel_(viewModel)
    , icon_(new QLabel(this)) {
    icon_->setObjectName(u"icon"_s);
    icon_->setFixedSize(iconSide, iconSide);
    icon_->setAlignment(Qt::AlignCenter);

    auto* name = new QLabel(recent.displayName, this);
    name->setObjectName(u"name"_s);
    name->setTextFormat(Qt::PlainText);
    auto* kind = new QLabel(recent.kindDescription().value_or(tr("Document")), this);
    kind->setObjectName(u"kind"_s);
    kind->setTextFormat(Qt::PlainText);
    kind->setForegroundRole(QPalette::PlaceholderText);
    QFont caption = kind->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    kind->setFont(caption);

    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(name);
    text->addWidget(kind);
    auto* row = new QHBoxLayout(this);
    row->setSpacing(10);
    row->addWidget(icon_);
    row->addLayout(text, 1);
    updateIcon();
}

void WelcomeRecentRow::updateIcon() {
    const auto thumbnail = viewModel_.recentsToThumbnails().constFind(recent_.url);
    showsThumbnail_ = thumbnail != viewModel_.recentsToThumbnails().constEnd();
    if (showsThumbnail_) {
        icon_->setPixmap(
            thumbnailPixmap(*thumbnail, viewModel_.allowsThumbnailInterpolation(), devicePixelRatioF()));
        icon_->setGraphicsEffect(makeShadow(icon_));
    } else {
        icon_->setPixmap(recent_.fastIcon.pixmap(iconSide, iconSide));
        icon_->setGraphicsEffect(nullptr);
    }
}

} // namespace TamselUIKit
