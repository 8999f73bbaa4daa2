#include "Settings/AppearanceSettingsPane.h"

#include "Platform/DefaultsKeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <UsageStats/UsageStats.h>
#include <cmath>
#include <utility>

namespace Marrowbell {
namespace {

constexpr double defaultArtworkSize = 32.0;
constexpr auto defaultFontWeight = FontWeightSetting::semibold;
constexpr auto defaultPadding = PaddingSetting::large;
constexpr bool defaultLimitTitlesToOneLine = false;
constexpr bool defaultShowSubtitles = true;
constexpr bool defaultUseAlternatingRowColors = false;

/// Halves away from zero, as the lists round the size they draw.
qint64 wholeArtworkSize(double size) {
    return std::llround(size);
}

QString booleanText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

template <class Setting> void selectData(QComboBox* picker, Setting setting) {
    const QSignalBlocker blocker(picker);
    picker->setCurrentIndex(picker->findData(static_cast<int>(setting)));
}

} // namespace

AppearanceSettingsPane::AppearanceSettingsPane(Defaults& defaults, AppNotifications& notifications,
                                               QWidget* parent)
    : QWidget(parent)
    , defaults_(defaults)
    , notifications_(notifications)
    , toggles_{{{DefaultsKeys::limitTitlesToOneLine, "change_limit_titles_to_one_line"},
                {DefaultsKeys::showSubtitles, "change_show_subtitles"},
                {DefaultsKeys::useAlternatingRowColors, "change_use_alternating_row_colors"}}} {
    buildForm();
    showStoredValues();
    connect(&defaults_, &Defaults::valueChanged, this, &AppearanceSettingsPane::storedValueChanged);
}

void AppearanceSettingsPane::buildForm() {
    setFixedWidth(contentWidth);
    auto* form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

    fontWeightPicker_ = new QComboBox(this);
    for (const FontWeightSetting setting : allFontWeightSettings) {
        fontWeightPicker_->addItem(label(setting), static_cast<int>(setting));
    }
    connect(fontWeightPicker_, &QComboBox::activated, this, [this](int index) {
        defaults_.setValue(DefaultsKeys::fontWeight, fontWeightPicker_->itemData(index).toInt());
    });
    form->addRow(tr("Font Weight:"), fontWeightPicker_);

    paddingPicker_ = new QComboBox(this);
    for (const PaddingSetting setting : allPaddingSettings) {
        paddingPicker_->addItem(label(setting), static_cast<int>(setting));
    }
    connect(paddingPicker_, &QComboBox::activated, this, [this](int index) {
        defaults_.setValue(DefaultsKeys::padding, paddingPicker_->itemData(index).toInt());
    });
    form->addRow(tr("Padding:"), paddingPicker_);

    artworkSizeSlider_ = new QSlider(Qt::Horizontal, this);
    artworkSizeSlider_->setRange(minimumArtworkSize, maximumArtworkSize);
    artworkSizeSlider_->setSingleStep(1);
    artworkSizeSlider_->setPageStep(1);
    connect(artworkSizeSlider_, &QSlider::valueChanged, this,
            [this](int size) { defaults_.setValue(DefaultsKeys::artworkSize, double(size)); });
    form->addRow(tr("Artwork Size:"), artworkSizeSlider_);

    form->addRow(addToggle(toggles_[0], tr("Limit Titles to One Line")));
    form->addRow(addToggle(toggles_[1], tr("Show Subtitles")));
    form->addRow(addToggle(toggles_[2], tr("Use Alternating Row Colors")));

    restoreDefaultsButton_ = new QPushButton(tr("Restore Defaults"), this);
    connect(restoreDefaultsButton_, &QPushButton::clicked, this, &AppearanceSettingsPane::restoreDefaults);
    auto* buttonRow = new QVBoxLayout;
    buttonRow->setContentsMargins(0, 4, 0, 0);
    buttonRow->addWidget(restoreDefaultsButton_, 0, Qt::AlignLeading);
    form->addRow(buttonRow);
}

QCheckBox* AppearanceSettingsPane::addToggle(Toggle& toggle, const QString& title) {
    toggle.box = new QCheckBox(title, this);
    connect(toggle.box, &QCheckBox::toggled, this,
            [this, key = toggle.key](bool checked) { defaults_.setValue(key, checked); });
    return toggle.box;
}

FontWeightSetting AppearanceSettingsPane::storedFontWeight() const {
    return fontWeightSetting(defaults_.integerValue(DefaultsKeys::fontWeight)).value_or(defaultFontWeight);
}

PaddingSetting AppearanceSettingsPane::storedPadding() const {
    return paddingSetting(defaults_.integerValue(DefaultsKeys::padding)).value_or(defaultPadding);
}

void AppearanceSettingsPane::showStoredValues() {
    shownArtworkSize_ = defaults_.doubleValue(DefaultsKeys::artworkSize);
    {
        const QSignalBlocker blocker(artworkSizeSlider_);
        artworkSizeSlider_->setValue(int(wholeArtworkSize(shownArtworkSize_)));
    }
    shownFontWeight_ = storedFontWeight();
    selectData(fontWeightPicker_, shownFontWeight_);
    shownPadding_ = storedPadding();
    selectData(paddingPicker_, shownPadding_);
    for (Toggle& toggle : toggles_) {
        toggle.shown = defaults_.boolValue(toggle.key);
        const QSignalBlocker blocker(toggle.box);
        toggle.box->setChecked(toggle.shown);
    }
}

void AppearanceSettingsPane::restoreDefaults() {
    defaults_.setValue(DefaultsKeys::artworkSize, defaultArtworkSize);
    defaults_.setValue(DefaultsKeys::fontWeight, static_cast<int>(defaultFontWeight));
    defaults_.setValue(DefaultsKeys::padding, static_cast<int>(defaultPadding));
    defaults_.setValue(DefaultsKeys::limitTitlesToOneLine, defaultLimitTitlesToOneLine);
    defaults_.setValue(DefaultsKeys::showSubtitles, defaultShowSubtitles);
    defaults_.setValue(DefaultsKeys::useAlternatingRowColors, defaultUseAlternatingRowColors);
}

void AppearanceSettingsPane::storedValueChanged(const QString& key) {
    if (key == DefaultsKeys::artworkSize) {
        artworkSizeChanged();
    } else if (key == DefaultsKeys::fontWeight) {
        fontWeightChanged();
    } else if (key == DefaultsKeys::padding) {
        paddingChanged();
    } else {
        for (Toggle& toggle : toggles_) {
            if (key == toggle.key) {
                toggleChanged(toggle);
            }
        }
    }
}

void AppearanceSettingsPane::artworkSizeChanged() {
    const double size = defaults_.doubleValue(DefaultsKeys::artworkSize);
    const qint64 oldWhole = wholeArtworkSize(std::exchange(shownArtworkSize_, size));
    const qint64 newWhole = wholeArtworkSize(size);
    if (oldWhole == newWhole) {
        return;
    }
    {
        const QSignalBlocker blocker(artworkSizeSlider_);
        artworkSizeSlider_->setValue(int(newWhole));
    }
    // The stored size without its fraction (28.5 is "28"), as the other clients of this signal count it.
    announce("change_artwork_size", "size", QString::number(static_cast<qint64>(std::trunc(size))));
}

void AppearanceSettingsPane::fontWeightChanged() {
    const FontWeightSetting weight = storedFontWeight();
    if (std::exchange(shownFontWeight_, weight) == weight) {
        return;
    }
    selectData(fontWeightPicker_, weight);
    announce("change_font_weight", "weight", QString::number(static_cast<int>(weight)));
}

void AppearanceSettingsPane::paddingChanged() {
    const PaddingSetting padding = storedPadding();
    if (std::exchange(shownPadding_, padding) == padding) {
        return;
    }
    selectData(paddingPicker_, padding);
    announce("change_padding", "padding", QString::number(static_cast<int>(padding)));
}

void AppearanceSettingsPane::toggleChanged(Toggle& toggle) {
    const bool enabled = defaults_.boolValue(toggle.key);
    if (std::exchange(toggle.shown, enabled) == enabled) {
        return;
    }
    {
        const QSignalBlocker blocker(toggle.box);
        toggle.box->setChecked(enabled);
    }
    announce(toggle.signalType, "enabled", booleanText(enabled));
}

void AppearanceSettingsPane::announce(const char* signalType, const char* parameter, const QString& value) {
    UsageStats::signal(signalType, {{parameter, value.toStdString()}});
    Q_EMIT notifications_.reloadAppearance();
}

} // namespace Marrowbell
