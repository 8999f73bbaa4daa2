#include "TamselUIKit/FileManagerReveal.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>

namespace TamselUIKit {

using namespace Qt::StringLiterals;

namespace {

constexpr int fileManagerTimeoutMilliseconds = 5'000;

void openFolder(const QUrl& url) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(url.toLocalFile()).absolutePath()));
}

} // namespace

void showInFileManager(const QUrl& url) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolder(url);
        return;
    }
    QDBusMessage showItems =
        QDBusMessage::createMethodCall(u"org.freedesktop.FileManager1"_s, u"/org/freedesktop/FileManager1"_s,
                                       u"org.freedesktop.FileManager1"_s, u"ShowItems"_s);
    showItems << QStringList{url.toString(QUrl::FullyEncoded)} << QString();
    auto* reply = new QDBusPendingCallWatcher(bus.asyncCall(showItems, fileManagerTimeoutMilliseconds),
                                              QCoreApplication::instance());
    QObject::connect(reply, &QDBusPendingCallWatcher::finished, reply, [reply, url] {
        reply->deleteLater();
        if (reply->isError()) {
            openFolder(url);
        }
    });
}

} // namespace TamselUIKit
