#pragma once

#include "TamselUIKit/WelcomeRecent.h"

#include <QWidget>

class QLabel;

namespace TamselUIKit {

class WelcomeViewModel;

/// One recent document: its thumbnail (or, without one, its file icon), its name and its kind.
class WelcomeRecentRow : public QWidget {
    Q_OBJECT

public:
    WelcomeRecentRow(const WelcomeRecent& recent, const WelcomeViewModel& viewModel,
                     QWidget* parent = nullptr);

    /// Draws the model's thumbnail of the recent when it has one, else the file icon.
    void updateIcon();
    bool showsThumbnail() const { return showsThumbnail_; }

private:
    const WelcomeRecent recent_;
    const WelcomeViewModel& viewModel_;
    QLabel* icon_ = nullptr;
    bool showsThumbnail_ = false;
};

} // namespace TamselUIKit
