#pragma once

#include <QObject>
#include <functional>

namespace Marrowbell {

class Defaults;
class SharedStore;

/// Returns the application to its first-launch state without asking: closes the store, forgets every stored
/// setting, deletes `local.db` with its "-wal" and "-shm" companions, then calls `quit` whether or not the
/// deletion worked (a failure is logged and reported as "remove_local_database"). Returns at once; the
/// steps after the close run on the GUI thread, and nothing runs once `context` is gone. GUI thread.
void resetData(SharedStore& store, Defaults& defaults, QObject* context, std::function<void()> quit);

} // namespace Marrowbell
