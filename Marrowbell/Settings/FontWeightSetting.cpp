#include "Settings/FontWeightSetting.h"

#include <QCoreApplication>

namespace Marrowbell {

std::optional<FontWeightSetting> fontWeightSetting(qint64 rawValue) {
    if (rawValue < 0 || rawValue > 3) {
        return std::nullopt;
    }
    return static_cast<FontWeightSetting>(rawValue);
}

QString label(FontWeightSetting setting) {
    switch (setting) {
    case FontWeightSetting::regular:
        return QCoreApplication::translate("FontWeightSetting", "Regular");
    case FontWeightSetting::medium:
        return QCoreApplication::translate("FontWeightSetting", "Medium");
    case FontWeightSetting::semibold:
        return QCoreApplication::translate("FontWeightSetting", "Semibold");
    case FontWeightSetting::bold:
        return QCoreApplication::translate("FontWeightSetting", "Bold");
    }
    return {};
}

} // namespace Marrowbell
