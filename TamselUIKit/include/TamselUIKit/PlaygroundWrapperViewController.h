#pragma once

#include <QDialog>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <memory>

namespace TamselUIKit {

/// Packages the desktop's image-generation sheet as a dialog that a host presents (open() or show()) and
/// dismisses like any other, reporting the file of each created image through the didCreateImage callback.
/// This desktop has no such sheet: isAvailable() is false and the dialog has no content of its own.
/// GUI thread only.
class PlaygroundWrapperViewController : public QDialog {
    Q_OBJECT

public:
    /// Receives the sheet's delegate calls. Refers to its wrapper weakly: once the wrapper is gone, the
    /// calls do nothing.
    class Coordinator {
    public:
        explicit Coordinator(PlaygroundWrapperViewController* parent);

        /// The user cancelled: the wrapper is dismissed, no callback.
        void imagePlaygroundViewControllerDidCancel();
        /// An image was created at `url`: the wrapper is dismissed, then told through didCreateImage.
        void imagePlaygroundViewControllerDidCreateImageAt(const QUrl& url);

    private:
        QPointer<PlaygroundWrapperViewController> parent_;
    };

    using CreatedImageCallback = std::function<void(const QUrl&)>;

    /// Whether the desktop offers image generation.
    static bool isAvailable();

    explicit PlaygroundWrapperViewController(QWidget* parent = nullptr);

    const CreatedImageCallback& didCreateImage() const { return didCreateImage_; }
    void setDidCreateImage(CreatedImageCallback callback) { didCreateImage_ = std::move(callback); }

    /// Closes the wrapper if it is presented; a wrapper that was never presented ignores it.
    void dismiss();
    /// Dismisses as dismiss() does, then calls didCreateImage with `url` when it is set.
    void createAt(const QUrl& url);

    /// The sheet's delegate. Shared so that the sheet may outlive the wrapper.
    std::shared_ptr<Coordinator> coordinator() const { return coordinator_; }

private:
    std::shared_ptr<Coordinator> coordinator_;
    CreatedImageCallback didCreateImage_;
};

} // namespace TamselUIKit
