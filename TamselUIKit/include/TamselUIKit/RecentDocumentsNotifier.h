#pragma once

#include <QObject>

namespace TamselUIKit {

/// Where a host announces that its recent documents changed: every welcome window then reloads them.
/// GUI thread.
class RecentDocumentsNotifier : public QObject {
    Q_OBJECT

public:
    static constexpr auto recentsDidChangeNotificationName =
        "Tamsel.NSDocumentControllerRecentsDidChangeNotificationName";

    static RecentDocumentsNotifier& shared();

    void postRecentsDidChange() { Q_EMIT recentsDidChange(); }

Q_SIGNALS:
    void recentsDidChange();
};

} // namespace TamselUIKit
