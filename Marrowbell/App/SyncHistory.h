#pragma once

namespace Marrowbell {

class Defaults;

/// Forgets what the settings know of the library file's syncs: the flag "performedFullSync" and the time of
/// each list's and each container's last sync. They describe the file they were written for, so a new file
/// starts without them: the next start runs the first full sync and every list syncs when it is first shown,
/// as after Reset Data. GUI thread.
void forgetSyncHistory(Defaults& defaults);

} // namespace Marrowbell
