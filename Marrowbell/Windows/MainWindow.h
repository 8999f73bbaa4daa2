#pragma once

#include <QMainWindow>

namespace Marrowbell {

class Defaults;

/// The one main window: 600 by 500 at the first start, then back at the size and place it last had (kept in
/// `defaults`), no smaller than 400 by 80. Closing it hides it; the application keeps running. Its title
/// names the music service in use. GUI thread.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QSize defaultSize{600, 500};
    static constexpr QSize minimumContentSize{400, 80};

    MainWindow(const QString& serviceDisplayName, Defaults& defaults, QWidget* parent = nullptr);

    /// Shows the window again (it may have been closed or minimised) and brings it to the front.
    void present();

Q_SIGNALS:
    /// The window was shown for the first time.
    void firstShown();

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void saveFrame();

    Defaults& defaults_;
    bool wasShown_ = false;
};

} // namespace Marrowbell
