#pragma once

#include <QString>
#include <optional>

namespace TamselUIKit {

/// One new feature of a What's New panel.
struct Feature {
    /// System symbol drawn beside the feature (see symbolIcon()).
    QString imageName;
    QString title;
    /// One or more lines of description.
    QString subtitle;
    /// Address of a page about the feature; only http and https addresses are offered as links.
    std::optional<QString> link;
};

} // namespace TamselUIKit
