#pragma once

#include "Platform/AppNotifications.h"
#include "Platform/Defaults.h"
#include "Settings/FontWeightSetting.h"
#include "Settings/PaddingSetting.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSlider;

namespace Marrowbell {

/// The appearance tab of the settings window: title font weight, row padding, artwork size, one-line titles,
/// subtitles and alternating row colours, edited directly in the Defaults. Every effective change of one of
/// these keys, from the controls or any other writer of the same Defaults, sends its usage signal and emits
/// AppNotifications::reloadAppearance once; showing the pane sends nothing. GUI thread.
class AppearanceSettingsPane final : public QWidget {
    Q_OBJECT

public:
    static constexpr int contentWidth = 360;
    static constexpr int minimumArtworkSize = 22;
    static constexpr int maximumArtworkSize = 32;

    AppearanceSettingsPane(Defaults& defaults, AppNotifications& notifications, QWidget* parent = nullptr);

    /// Writes the registered appearance values back: artwork size 32, semibold, large padding, titles on
    /// several lines, subtitles shown, no alternating row colours.
    void restoreDefaults();

    QComboBox* fontWeightPicker() const { return fontWeightPicker_; }
    QComboBox* paddingPicker() const { return paddingPicker_; }
    QSlider* artworkSizeSlider() const { return artworkSizeSlider_; }
    QCheckBox* limitTitlesToOneLineToggle() const { return toggles_[0].box; }
    QCheckBox* showSubtitlesToggle() const { return toggles_[1].box; }
    QCheckBox* useAlternatingRowColorsToggle() const { return toggles_[2].box; }
    QPushButton* restoreDefaultsButton() const { return restoreDefaultsButton_; }

private:
    /// One of the Boolean settings with its checkbox and the value it last showed.
    struct Toggle {
        QLatin1StringView key;
        const char* signalType;
        QCheckBox* box = nullptr;
        bool shown = false;
    };

    void buildForm();
    QCheckBox* addToggle(Toggle& toggle, const QString& title);
    void showStoredValues();
    void storedValueChanged(const QString& key);
    void artworkSizeChanged();
    void fontWeightChanged();
    void paddingChanged();
    void toggleChanged(Toggle& toggle);
    void announce(const char* signalType, const char* parameter, const QString& value);

    FontWeightSetting storedFontWeight() const;
    PaddingSetting storedPadding() const;

    Defaults& defaults_;
    AppNotifications& notifications_;

    // The values the controls show: the old side of the next change.
    double shownArtworkSize_ = 0;
    FontWeightSetting shownFontWeight_ = FontWeightSetting::semibold;
    PaddingSetting shownPadding_ = PaddingSetting::large;

    QComboBox* fontWeightPicker_ = nullptr;
    QComboBox* paddingPicker_ = nullptr;
    QSlider* artworkSizeSlider_ = nullptr;
    std::array<Toggle, 3> toggles_;
    QPushButton* restoreDefaultsButton_ = nullptr;
};

} // namespace Marrowbell
