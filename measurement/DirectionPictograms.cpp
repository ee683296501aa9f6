#include "DirectionPictograms.h"

#include <QtGlobal>
#include <array>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitPictogramResourcesOnce() {
    Q_INIT_RESOURCE(pictograms);
}

namespace leeb {

namespace {

constexpr std::array<const char*, PictogramCount> ImageFiles = {
    "direction_down45.xpm", "direction_horizontal.xpm", "direction_up45.xpm",
    "direction_up.xpm",     "strength_sigma_b.xpm",     "direction_down.xpm",
};

}  // namespace

int PictogramForDirection(int impactDirection) {
    // The image list keeps the straight-down picture last.
    static constexpr std::array<int, 5> Images = {5, 0, 1, 2, 3};
    if (impactDirection < 0 || impactDirection >= static_cast<int>(Images.size())) {
        return -1;
    }
    return Images[static_cast<std::size_t>(impactDirection)];
}

std::string DirectionPictogramResource(int image) {
    if (image < 0 || image >= PictogramCount) {
        return {};
    }
    return std::string(":/pictograms/") + ImageFiles[static_cast<std::size_t>(image)];
}

void InitPictogramResources() {
    static const bool done = (InitPictogramResourcesOnce(), true);
    (void)done;
}

}  // namespace leeb
