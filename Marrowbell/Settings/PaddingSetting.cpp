#include "Settings/PaddingSetting.h"

#include <QCoreApplication>

namespace Marrowbell {

std::optional<PaddingSetting> paddingSetting(qint64 rawValue) {
    if (rawValue < 0 || rawValue > 2) {
        return std::nullopt;
    }
    return static_cast<PaddingSetting>(rawValue);
}

QString label(PaddingSetting setting) {
    switch (setting) {
    case PaddingSetting::small:
        return QCoreApplication::translate("PaddingSetting", "Small");
    case PaddingSetting::medium:
        return QCoreApplication::translate("PaddingSetting", "Medium");
    case PaddingSetting::large:
        return QCoreApplication::translate("PaddingSetting", "Large");
    }
    return {};
}

} // namespace Marrowbell
