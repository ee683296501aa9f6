#pragma once
// The window's own icon, drawn at start-up in 16 and 32 pixels: a tester's impact body
// striking a block, with a rebound arrow.

#include <QIcon>

namespace leeb {

QIcon MakeWindowIcon();

}  // namespace leeb
