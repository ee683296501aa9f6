#include "ClientArea.h"

#include <algorithm>

namespace leeb {

ClientGeometry ClientArea::GeometryFor(QSize size) {
    const int grownWidth = std::max(0, size.width() - DesignSize.width());
    const int grownHeight = std::max(0, size.height() - DesignSize.height());
    const int height = std::max(size.height(), DesignSize.height());

    ClientGeometry g;
    // The record panel keeps its width and stretches in height; a 4-pixel strip of window
    // background separates it from the view panel, which takes the rest of the width.
    g.RecordPanel = QRect(0, 0, 225, height);
    g.ViewPanel = QRect(229, 0, 651 + grownWidth, height);
    g.ChartFrame = QRect(0, 8, 649 + grownWidth, 313 + grownHeight);
    g.Chart = QRect(1, 1, g.ChartFrame.width() - 2, g.ChartFrame.height() - 2);
    g.DetailPanel = QRect(0, 336 + grownHeight, 649, 161);
    g.ButtonBar = QRect(0, 504 + grownHeight, 649, 41);
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
    place(parts_.RecordPanel, g.RecordPanel);
    place(parts_.ViewPanel, g.ViewPanel);
    place(parts_.ChartFrame, g.ChartFrame);
    place(parts_.Chart, g.Chart);
    place(parts_.DetailPanel, g.DetailPanel);
    place(parts_.ButtonBar, g.ButtonBar);
}

}  // namespace leeb
