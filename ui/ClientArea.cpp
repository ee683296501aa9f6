#include "ClientArea.h"

#include <algorithm>

namespace leeb {

ClientGeometry ClientArea::GeometryFor(QSize size) {
    const int grownWidth = std::max(0, size.width() - DesignSize.width());
    const int grownHeight = std::max(0, size.height() - DesignSize.height());
    const int height = std::max(size.height(), DesignSize.height());

    ClientGeometry g;
    // Panel1 keeps its width and stretches in height; a 4-pixel strip of window background
    // separates it from Panel2, which takes the rest of the width.
    g.Panel1 = QRect(0, 0, 225, height);
    g.Panel2 = QRect(229, 0, 651 + grownWidth, height);
    g.Panel4 = QRect(0, 8, 649 + grownWidth, 313 + grownHeight);
    g.Chart1 = QRect(1, 1, g.Panel4.width() - 2, g.Panel4.height() - 2);
    g.Panel5 = QRect(0, 336 + grownHeight, 649, 161);
    g.Panel3 = QRect(0, 504 + grownHeight, 649, 41);
    return g;
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceParts();
}

void ClientArea::PlaceParts() {
    const ClientGeometry g = GeometryFor(size());
    const auto place = [](QWidget* widget, const QRect& rect) {
        if (widget != nullptr)
            widget->setGeometry(rect);
    };
    place(parts_.Panel1, g.Panel1);
    place(parts_.Panel2, g.Panel2);
    place(parts_.Panel4, g.Panel4);
    place(parts_.Chart1, g.Chart1);
    place(parts_.Panel5, g.Panel5);
    place(parts_.Panel3, g.Panel3);
}

}  // namespace leeb
