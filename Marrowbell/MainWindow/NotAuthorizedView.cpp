#include "MainWindow/NotAuthorizedView.h"

#include "Lists/GlyphPainting.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace Marrowbell {
namespace {

constexpr int glyphBoxSize = 40;

class GlyphBox final : public QWidget {
public:
    explicit GlyphBox(QWidget* parent)
        : QWidget(parent) {
        setFixedSize(glyphBoxSize, glyphBoxSize);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        paintGlyph(painter, QRectF(rect()), QStringLiteral("music.note"), true, palette());
    }
};

} // namespace

NotAuthorizedView::NotAuthorizedView(const QString& serviceDisplayName, QWidget* parent)
    : QWidget(parent)
    , tryAgain_(new QPushButton(tr("Try Again"), this)) {
    auto* title = new QLabel(tr("Welcome to Marrowbell"), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);

    auto* description = new QLabel(tr("Marrowbell is not able to access your music library. Make sure you "
                                      "are signed into %1 in the %1 app first.")
                                       .arg(serviceDisplayName),
                                   this);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignCenter);
    description->setForegroundRole(QPalette::PlaceholderText);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(10);
    layout->addStretch();
    layout->addWidget(new GlyphBox(this), 0, Qt::AlignHCenter);
    layout->addWidget(title);
    layout->addWidget(description);
    layout->addWidget(tryAgain_, 0, Qt::AlignHCenter);
    layout->addStretch();
    setAutoFillBackground(false);
    connect(tryAgain_, &QPushButton::clicked, this, &NotAuthorizedView::tryAgainRequested);
}

// The screen covers the pod fully, so that no list shows through it.
void NotAuthorizedView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), palette().window());
}

} // namespace Marrowbell
