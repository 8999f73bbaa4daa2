#include "TamselUIKit/FeatureView.h"

#include "TamselUIKit/SymbolIcon.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace TamselUIKit {

using namespace Qt::StringLiterals;

namespace {

constexpr int symbolPointSize = 24;
constexpr int symbolMinimumWidth = 36;

/// Host-provided links are opened by whatever handles their scheme, so only web pages are accepted.
std::optional<QUrl> webLink(const std::optional<QString>& link) {
    if (!link) {
        return std::nullopt;
    }
    const QUrl url(*link, QUrl::StrictMode);
    const bool isWebPage = url.scheme() == u"https"_s || url.scheme() == u"http"_s;
    if (!url.isValid() || !isWebPage || url.host().isEmpty()) {
        return std::nullopt;
    }
    return url;
}

QLabel* makeSymbol(const QString& imageName, QWidget* parent) {
    auto* symbol = new QLabel(parent);
    QFont symbolFont = symbol->font();
    symbolFont.setPointSize(symbolPointSize);
    const int side = QFontMetrics(symbolFont).height();
    symbol->setPixmap(symbolIcon(imageName).pixmap(side, side));
    symbol->setMinimumWidth(symbolMinimumWidth);
    symbol->setAlignment(Qt::AlignCenter);
    return symbol;
}

QLabel* makeTitle(const QString& title, QWidget* parent) {
    auto* label = new QLabel(title, parent);
    label->setTextFormat(Qt::PlainText);
    QFont headline = label->font();
    headline.setBold(true);
    label->setFont(headline);
    return label;
}

} // namespace

FeatureView::FeatureView(const Feature& feature, QWidget* parent)
    : QWidget(parent)
    , linkURL_(webLink(feature.link)) {
    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(makeTitle(feature.title, this));
    text->addWidget(makeSubtitle(feature));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(16);
    row->addWidget(makeSymbol(feature.imageName, this), 0, Qt::AlignVCenter);
    row->addLayout(text, 1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QLabel* FeatureView::makeSubtitle(const Feature& feature) {
    auto* subtitle = new QLabel(this);
    subtitle->setObjectName(u"subtitle"_s);
    subtitle->setWordWrap(true);
    subtitle->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    subtitle->setForegroundRole(QPalette::PlaceholderText);
    if (!linkURL_) {
        subtitle->setTextFormat(Qt::PlainText);
        subtitle->setText(feature.subtitle);
        return subtitle;
    }
    const QString colour = subtitle->palette().color(QPalette::PlaceholderText).name();
    subtitle->setTextFormat(Qt::RichText);
    subtitle->setText(u"<a href=\"%1\" style=\"color:%2; text-decoration:none\">%3&nbsp;&#x2794;</a>"_s.arg(
        linkURL_->toString(QUrl::FullyEncoded).toHtmlEscaped(), colour,
        feature.subtitle.toHtmlEscaped().replace(u'\n', u"<br>"_s)));
    subtitle->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    subtitle->setCursor(Qt::PointingHandCursor);
    connect(subtitle, &QLabel::linkActivated, this, [url = *linkURL_] { QDesktopServices::openUrl(url); });
    return subtitle;
}

} // namespace TamselUIKit
