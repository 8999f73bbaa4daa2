#pragma once

#include <QKeyCombination>

/// The application's key bindings, declared once: the menus bind these and the "Keyboard Shortcuts" window
/// shows them, so the two cannot disagree.
namespace Marrowbell::KeyboardShortcuts {

// File menu.
inline constexpr QKeyCombination search = Qt::CTRL | Qt::Key_F;
inline constexpr QKeyCombination searchCatalog = Qt::CTRL | Qt::SHIFT | Qt::Key_F;
inline constexpr QKeyCombination updateLibrary = Qt::CTRL | Qt::SHIFT | Qt::Key_R;
inline constexpr QKeyCombination quit = Qt::CTRL | Qt::Key_Q;

// Edit menu.
inline constexpr QKeyCombination settings = Qt::CTRL | Qt::Key_Comma;

// Song menu.
inline constexpr QKeyCombination addToLibrary = Qt::CTRL | Qt::Key_S;
inline constexpr QKeyCombination share = Qt::CTRL | Qt::Key_Y;

// View menu.
inline constexpr QKeyCombination back = Qt::CTRL | Qt::Key_BracketLeft;
inline constexpr QKeyCombination snapBack = Qt::CTRL | Qt::ALT | Qt::Key_S;

// Controls menu.
inline constexpr QKeyCombination playPause{Qt::Key_Space};
inline constexpr QKeyCombination stop = Qt::CTRL | Qt::Key_Period;
inline constexpr QKeyCombination nextTrack = Qt::CTRL | Qt::Key_Right;
inline constexpr QKeyCombination previousTrack = Qt::CTRL | Qt::Key_Left;

// Window menu.
inline constexpr QKeyCombination minimize = Qt::CTRL | Qt::Key_M;

// Every window opened on request: closes it.
inline constexpr QKeyCombination closeWindow = Qt::CTRL | Qt::Key_W;

// Keys the lists and the pod handle themselves.
inline constexpr QKeyCombination previousRow{Qt::Key_Up};
inline constexpr QKeyCombination nextRow{Qt::Key_Down};
inline constexpr QKeyCombination paneLeft{Qt::Key_Left};
inline constexpr QKeyCombination paneRight{Qt::Key_Right};
inline constexpr QKeyCombination playSelected{Qt::Key_Return};

// The search panel's source picker.
inline constexpr QKeyCombination searchLibrarySource = Qt::CTRL | Qt::Key_1;
inline constexpr QKeyCombination searchCatalogSource = Qt::CTRL | Qt::Key_2;

} // namespace Marrowbell::KeyboardShortcuts
