#pragma once
// Keeping the window wholly on the screen it opens on: centred at the start, and moved (or, on
// a screen smaller than the window, shrunk) so that no part of it, its title bar above all,
// lies outside the screen's available area.

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace leeb {

// The frame (window with its title bar and borders) moved inside `available`; a frame wider
// or taller than `available` is first made as wide or as tall.
QRect FitFrameOnScreen(QRect frame, const QRect& available);

// The window's frame margins; before the window manager has framed it, a title bar and
// borders of the usual size are assumed so that the title bar still comes on the screen.
QMargins FrameMargins(const QWidget& window);

// Centres the window (its frame) on the available area of its screen.
void CentreOnScreen(QWidget& window);

// Moves and, if need be, shrinks the window so that its frame lies on the available area of
// its screen. The window's smallest size is the design size, but never more than fits.
void KeepOnScreen(QWidget& window);

}  // namespace leeb
