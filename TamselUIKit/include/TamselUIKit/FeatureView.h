#pragma once

#include "TamselUIKit/Feature.h"

#include <QUrl>
#include <QWidget>
#include <optional>

class QLabel;

namespace TamselUIKit {

/// One row of a What's New panel: the feature's symbol, its title and its wrapping description. A valid
/// http or https link ends the description with an arrow, and clicking the description opens the link
/// with the desktop's URL handler; any other link leaves the description plain text. GUI thread.
class FeatureView : public QWidget {
    Q_OBJECT

public:
    explicit FeatureView(const Feature& feature, QWidget* parent = nullptr);

    /// The link the description opens, when it opens one.
    const std::optional<QUrl>& linkURL() const { return linkURL_; }

private:
    QLabel* makeSubtitle(const Feature& feature);

    std::optional<QUrl> linkURL_;
};

} // namespace TamselUIKit
