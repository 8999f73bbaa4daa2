#pragma once

class QObject;
class QWidget;

namespace TamselUIKit {

/// Keeps `view`'s geometry equal to `other`'s (its parent or a widget beside it) from now on, following
/// every move and resize of `other`. Neither widget is reparented. The returned pin belongs to `view`;
/// deleting it ends the pinning, and it does nothing once `other` is gone. GUI thread.
QObject* pinEdges(QWidget& view, QWidget& other);

} // namespace TamselUIKit
