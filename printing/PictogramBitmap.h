#pragma once
// The report's one working bitmap: cleared to white and loaded with a pictogram before each
// use, drawn on the page as an opaque picture.

#include <QImage>
#include <array>

#include "DirectionPictograms.h"

namespace leeb {

class PictogramBitmap {
  public:
    PictogramBitmap();

    // Clears to white and draws image `index` of the pictogram list; an index of -1 (impact
    // directions without a pictogram) leaves the bitmap white.
    const QImage& Load(int index);

  private:
    QImage bitmap_;
    std::array<QImage, PictogramCount> images_;
};

}  // namespace leeb
