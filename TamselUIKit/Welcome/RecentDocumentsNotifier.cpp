#include "TamselUIKit/RecentDocumentsNotifier.h"

namespace TamselUIKit {

RecentDocumentsNotifier& RecentDocumentsNotifier::shared() {
    static RecentDocumentsNotifier notifier;
    return notifier;
}

} // namespace TamselUIKit
