#include "ClientArea.h"

namespace leeb {

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlacePanels();
}

void ClientArea::PlacePanels() {
    if (left_ != nullptr)
        left_->setGeometry(0, 0, left_->width(), height());
    if (right_ != nullptr)
        right_->setGeometry(width() - right_->width(), 0, right_->width(), height());
}

}  // namespace leeb
