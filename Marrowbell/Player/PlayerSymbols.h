#pragma once

#include <QString>

namespace Marrowbell::PlayerSymbols {

// The player bar's icons, as text glyphs that scale with the button font and take its colour.
inline const QString previous = QStringLiteral("\u23EE");
inline const QString play = QStringLiteral("\u25B6");
inline const QString pause = QStringLiteral("\u23F8");
inline const QString next = QStringLiteral("\u23ED");
inline const QString repeatAll = QStringLiteral("\u21BB");
inline const QString repeatOne = QStringLiteral("\u21BB\u00B9");
inline const QString shuffle = QStringLiteral("\u292E");
inline const QString upNext = QStringLiteral("\u2630");
inline const QString addToLibrary = QStringLiteral("\u2295");
inline const QString snapBack = QStringLiteral("\u21B6");

} // namespace Marrowbell::PlayerSymbols
