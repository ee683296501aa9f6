#pragma once
// The six 32 x 28 pictograms: black line art on a transparent background, stored as XPM image
// resources (":/pictograms/..."), in the order of the image list.

#include <string>

namespace leeb {

inline constexpr int PictogramCount = 6;
inline constexpr int PictogramWidth = 32;
inline constexpr int PictogramHeight = 28;
inline constexpr int StrengthPictogram = 4;  // the symbol sigma-b

// Image index for an ImpactDirection code: 0 -> 5, 1 -> 0, 2 -> 1, 3 -> 2, 4 -> 3;
// -1 (no pictogram) for codes 5..7 and anything else.
int PictogramForDirection(int impactDirection);

// Resource path of image 0..5, loadable with QImage / QPixmap.
std::string DirectionPictogramResource(int image);

// Makes the resources available; call once before loading a pictogram (needed because the
// measurement library is static and its resources would otherwise not be registered).
void InitPictogramResources();

}  // namespace leeb
