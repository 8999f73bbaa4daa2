#pragma once

#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>
#include <memory>

namespace Foundation {
class Progress;
}

namespace Marrowbell {

/// The small dark card laid over the pod's centre for a background event: a symbol (optionally turning)
/// or, when a progress is given, a progress circle, above a short label. Keeps its dark look whatever the
/// colour scheme. It appears either at once or by growing from its centre while fading in, on a spring-like
/// curve; it always disappears at once. The progress may advance on any thread; the card reads it while
/// shown. GUI thread.
class ToastView final : public QWidget {
    Q_OBJECT

public:
    enum class Entrance { immediate, grow };

    /// Symbols drawn: "checkmark.circle" and "arrow.trianglehead.2.clockwise.rotate.90".
    ToastView(QString symbolName, QString label, bool rotatesSymbol, Entrance entrance,
              QWidget* parent = nullptr);

    const QString& label() const { return label_; }
    void setProgress(std::shared_ptr<Foundation::Progress> progress);
    const std::shared_ptr<Foundation::Progress>& progress() const { return progress_; }
    /// Whether the symbol turns now: only while it shows (no progress circle replaces it).
    bool isSymbolTurning() const;

    /// Shows the card, by its entrance, or hides it at once.
    void setPresented(bool presented);
    bool isPresented() const { return presented_; }
    /// How far the card has grown and faded in: 1 when fully shown.
    double scale() const;
    double opacity() const { return presentation_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void paintSymbol(QPainter& painter, const QRectF& bounds) const;
    void paintProgress(QPainter& painter, const QRectF& bounds) const;
    QFont labelFont() const;

    QString symbolName_;
    QString label_;
    bool rotatesSymbol_;
    Entrance entrance_;
    std::shared_ptr<Foundation::Progress> progress_;
    double angle_ = 0.0;
    QTimer frames_;
    bool presented_ = false;
    double presentation_ = 0.0;
    QVariantAnimation transition_;
};

} // namespace Marrowbell
