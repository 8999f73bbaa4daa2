#include "TamselUIKit/WelcomeView.h"

#include "TamselUIKit/AppDisplayName.h"
#include "TamselUIKit/FileManagerReveal.h"
#include "TamselUIKit/HostedWindowDismiss.h"
#include "TamselUIKit/WelcomeViewModel.h"
#include "WelcomeActionsView.h"
#include "WelcomeRecentRow.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>
#include <QShowEvent>
#include <QVBoxLayout>

namespace TamselUIKit {

using namespace Qt::StringLiterals;

namespace {

constexpr int headerImageSide = 96;
constexpr int minimumViewWidth = 720;
constexpr int urlRole = Qt::UserRole;

QWidget* makeHeader(const QIcon& headerImage, QWidget* parent) {
    auto* header = new QWidget(parent);
    auto* image = new QLabel(header);
    image->setPixmap(headerImage.pixmap(headerImageSide, headerImageSide));
    image->setFixedSize(headerImageSide, headerImageSide);
    auto* title = new QLabel(WelcomeView::tr("Welcome to %1").arg(appDisplayName()), header);
    title->setObjectName(u"title"_s);
    title->setTextFormat(Qt::PlainText);
    QFont largeTitle = title->font();
    largeTitle.setPointSizeF(largeTitle.pointSizeF() * 2);
    title->setFont(largeTitle);
    auto* layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 20, 0, 20);
    layout->addWidget(image, 0, Qt::AlignHCenter);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    return header;
}

} // namespace

WelcomeView::WelcomeView(WelcomeViewModel& viewModel, const QIcon& headerImage, QString showsOnLaunchKey,
                         QWidget* parent)
    : QWidget(parent)
    , viewModel_(viewModel)
    , showsOnLaunchKey_(std::move(showsOnLaunchKey)) {
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(makeLeftColumn(headerImage), 1);
    columns->addWidget(makeRightColumn(), 1);
    setMinimumWidth(minimumViewWidth);

    connect(&viewModel_, &WelcomeViewModel::actionsChanged, this,
            [this] { actions_->setActions(viewModel_.actions()); });
    connect(&viewModel_, &WelcomeViewModel::recentsChanged, this, &WelcomeView::showRecents);
    connect(&viewModel_, &WelcomeViewModel::thumbnailsChanged, this, &WelcomeView::showThumbnails);
    actions_->setActions(viewModel_.actions());
    showRecents();
}

QWidget* WelcomeView::makeLeftColumn(const QIcon& headerImage) {
    auto* column = new QWidget(this);
    actions_ = new WelcomeActionsView(column);
    auto* showsOnLaunch = new QCheckBox(tr("Show this window when %1 starts").arg(appDisplayName()), column);
    showsOnLaunch->setObjectName(u"showsOnLaunch"_s);
    showsOnLaunch->setChecked(QSettings().value(showsOnLaunchKey_, true).toBool());
    connect(showsOnLaunch, &QCheckBox::toggled, this,
            [this](bool checked) { QSettings().setValue(showsOnLaunchKey_, checked); });

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(0);
    layout->addWidget(makeHeader(headerImage, column));
    layout->addWidget(actions_);
    layout->addStretch();
    layout->addSpacing(16);
    layout->addWidget(showsOnLaunch);
    return column;
}

QWidget* WelcomeView::makeRightColumn() {
    auto* column = new QWidget(this);
    recents_ = new QListWidget(column);
    recents_->setSelectionMode(QAbstractItemView::SingleSelection);
    recents_->setContextMenuPolicy(Qt::CustomContextMenu);
    recents_->viewport()->installEventFilter(this);
    connect(recents_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { openRecent(item->data(urlRole).toUrl()); });
    connect(recents_, &QListWidget::customContextMenuRequested, this, &WelcomeView::showContextMenu);

    noRecents_ = new QLabel(tr("No Recent Documents"), column);
    noRecents_->setObjectName(u"noRecents"_s);
    noRecents_->setForegroundRole(QPalette::PlaceholderText);
    noRecents_->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* layers = new QGridLayout(column);
    layers->setContentsMargins(0, 0, 0, 0);
    layers->addWidget(recents_, 0, 0);
    layers->addWidget(noRecents_, 0, 0, Qt::AlignCenter);
    return column;
}

std::optional<QUrl> WelcomeView::selectedRecent() const {
    const auto selected = recents_->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return selected.first()->data(urlRole).toUrl();
}

void WelcomeView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        viewModel_.reload();
    }
}

bool WelcomeView::eventFilter(QObject* watched, QEvent* event) {
    const bool isPress = event->type() == QEvent::MouseButtonPress;
    if (watched == recents_->viewport() && isPress &&
        static_cast<QMouseEvent*>(event)->modifiers().testFlag(Qt::ControlModifier)) {
        recents_->clearSelection();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void WelcomeView::showRecents() {
    recents_->clear();
    for (const auto& recent : viewModel_.recents()) {
        auto* item = new QListWidgetItem(recents_);
        item->setData(urlRole, recent.url);
        auto* row = new WelcomeRecentRow(recent, viewModel_);
        item->setSizeHint(row->sizeHint());
        recents_->setItemWidget(item, row);
    }
    noRecents_->setVisible(viewModel_.recents().isEmpty());
}

void WelcomeView::showThumbnails() {
    for (int index = 0; index < recents_->count(); ++index) {
        if (auto* row = qobject_cast<WelcomeRecentRow*>(recents_->itemWidget(recents_->item(index)))) {
            row->updateIcon();
        }
    }
}

void WelcomeView::openRecent(const QUrl& url) {
    if (auto* windowDismiss = HostedWindowDismiss::find(this)) {
        windowDismiss->dismiss();
    }
    if (!QDesktopServices::openUrl(url)) {
        qWarning("Could not open the recent document %s", qPrintable(url.toString()));
    }
}

void WelcomeView::showContextMenu(const QPoint& position) {
    const QListWidgetItem* item = recents_->itemAt(position);
    if (!item) {
        return;
    }
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(tr("Show in File Manager"), this,
                    [url = item->data(urlRole).toUrl()] { showInFileManager(url); });
    menu->popup(recents_->viewport()->mapToGlobal(position));
}

} // namespace TamselUIKit
