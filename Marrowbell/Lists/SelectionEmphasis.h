#pragma once

class QAbstractItemView;

namespace Marrowbell {

/// Makes `view` draw its selection in the highlight colours only while it has the keyboard focus, and in
/// the inactive selection colours otherwise: the palette's own, or, where the palette gives both the same
/// highlight, a faint grey under the usual text colour. So the list the keys go to is plain to see.
/// GUI thread.
void emphasizeSelectionOnlyWhileFocused(QAbstractItemView& view);

} // namespace Marrowbell
