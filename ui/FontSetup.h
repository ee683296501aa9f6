#pragma once
// The window's font: "MS Sans Serif" at 11 pixels, which desktops without it show in their
// default sans-serif face.

#include <QFont>

namespace leeb {

// Maps "MS Sans Serif" to the desktop's default face; call once after the application exists.
void InstallWindowFontSubstitution();

QFont WindowFont();

}  // namespace leeb
