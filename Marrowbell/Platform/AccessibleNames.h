#pragma once

#include <QObject>
#include <QString>

namespace Marrowbell::AccessibleNames {

// What a screen reader says for controls that show only a symbol, and for the states that only colours
// and marks show. The platform's symbols carry such labels by themselves; ours are written here, once.

inline QString previous() {
    return QObject::tr("Previous");
}
inline QString play() {
    return QObject::tr("Play");
}
inline QString pause() {
    return QObject::tr("Pause");
}
inline QString next() {
    return QObject::tr("Next");
}
inline QString repeat() {
    return QObject::tr("Repeat");
}
inline QString repeatOff() {
    return QObject::tr("Off");
}
inline QString repeatAll() {
    return QObject::tr("All");
}
inline QString repeatOne() {
    return QObject::tr("One");
}
inline QString shuffle() {
    return QObject::tr("Shuffle");
}
inline QString upNext() {
    return QObject::tr("Up Next");
}

inline QString search() {
    return QObject::tr("Search");
}

/// The root list, which lists the library's kinds.
inline QString library() {
    return QObject::tr("Library");
}
/// Said of the row whose item is playing, where the row shows the now-playing bars.
inline QString nowPlaying() {
    return QObject::tr("Now Playing");
}

} // namespace Marrowbell::AccessibleNames
