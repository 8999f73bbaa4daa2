#include "TamselUIKit/SymbolIcon.h"

#include <QHash>

namespace TamselUIKit {

using namespace Qt::StringLiterals;

QIcon symbolIcon(const QString& symbolName) {
    static const QHash<QString, QString> themeNames{
        {u"paperplane"_s, u"mail-send"_s},
        {u"doc"_s, u"document-new"_s},
        {u"doc.badge.plus"_s, u"document-new"_s},
        {u"plus"_s, u"list-add"_s},
        {u"folder"_s, u"document-open"_s},
        {u"arrow.right.circle"_s, u"go-next"_s},
        {u"star"_s, u"starred"_s},
        {u"sparkles"_s, u"starred"_s},
        {u"gear"_s, u"preferences-system"_s},
        {u"questionmark.circle"_s, u"help-about"_s},
    };
    return QIcon::fromTheme(themeNames.value(symbolName, symbolName));
}

} // namespace TamselUIKit
