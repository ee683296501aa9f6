#include "PictogramBitmap.h"

#include <QPainter>

namespace leeb {

PictogramBitmap::PictogramBitmap()
    : bitmap_(PictogramWidth, PictogramHeight, QImage::Format_RGB32) {
    InitPictogramResources();
    for (int i = 0; i < PictogramCount; ++i) {
        images_[static_cast<std::size_t>(i)] =
            QImage(QString::fromStdString(DirectionPictogramResource(i)));
    }
}

const QImage& PictogramBitmap::Load(int index) {
    bitmap_.fill(Qt::white);
    if (index >= 0 && index < PictogramCount) {
        QPainter painter(&bitmap_);
        painter.drawImage(0, 0, images_[static_cast<std::size_t>(index)]);
    }
    return bitmap_;
}

}  // namespace leeb
