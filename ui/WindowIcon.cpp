#include "WindowIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace leeb {

namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, size >= 32);
    p.scale(size / 32.0, size / 32.0);

    // The test block.
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(150, 150, 160));
    p.drawRect(QRectF(3, 22, 26, 8));

    // The impact device, a blue pen standing on the block.
    p.setBrush(QColor(0, 128, 255));
    p.drawRoundedRect(QRectF(8, 2, 8, 16), 2, 2);
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(QRectF(10, 17, 4, 4));

    // The rebound: an arrow going up on the right.
    p.setPen(QPen(QColor(220, 40, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(23, 19), QPointF(23, 6));
    QPainterPath head;
    head.moveTo(23, 2);
    head.lineTo(27.5, 9);
    head.lineTo(18.5, 9);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 40, 30));
    p.drawPath(head);
    return pixmap;
}

}  // namespace

QIcon MakeWindowIcon() {
    QIcon icon;
    icon.addPixmap(DrawIcon(16));
    icon.addPixmap(DrawIcon(32));
    return icon;
}

}  // namespace leeb
