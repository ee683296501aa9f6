#pragma once
// The window's own icon: the same pictures, at the same sizes, that the package installs for
// the desktop's menu, so the window and its menu entry look alike.

#include <QIcon>
#include <QString>
#include <array>

namespace leeb {

inline constexpr std::array<int, 5> WindowIconSizes = {16, 32, 48, 128, 256};

// The resource path of the picture of one of WindowIconSizes.
QString WindowIconResource(int size);

QIcon MakeWindowIcon();

}  // namespace leeb
