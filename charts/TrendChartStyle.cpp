#include "TrendChartStyle.h"

namespace leeb {

namespace {
constexpr int TitlePixels = 13;
constexpr int LabelPixels = 10;
}  // namespace

QFont TrendChartFont(const QFont& base, int pixelSize, bool bold) {
    QFont font = base;
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QCPTextElement* SetUpTrendPlot(QCustomPlot& plot, const QString& title) {
    plot.setBackground(QBrush(Qt::white));
    plot.setAutoAddPlottableToLegend(false);
    plot.legend->setVisible(false);
    plot.plotLayout()->insertRow(0);
    auto* element = new QCPTextElement(&plot, title, TrendChartFont(plot.font(), TitlePixels, true));
    plot.plotLayout()->addElement(0, 0, element);
    for (QCPAxis* axis : {plot.xAxis, plot.yAxis}) {
        axis->setTickLabelFont(TrendChartFont(plot.font(), LabelPixels));
        axis->setLabelFont(TrendChartFont(plot.font(), LabelPixels));
    }
    plot.yAxis->setNumberFormat(QStringLiteral("f"));
    // Room at the right for the lines' labels, which sit just outside the plot.
    plot.axisRect()->setAutoMargins(QCP::msLeft | QCP::msTop | QCP::msBottom);
    plot.axisRect()->setMargins(QMargins(0, 0, 78, 0));
    return element;
}

LabelledLine AddHorizontalLine(QCustomPlot& plot, double value, const QPen& pen,
                               const QString& label) {
    LabelledLine added;
    added.Line = new QCPItemStraightLine(&plot);
    added.Line->setPen(pen);
    added.Line->point1->setTypeX(QCPItemPosition::ptAxisRectRatio);
    added.Line->point1->setCoords(0.0, value);
    added.Line->point2->setTypeX(QCPItemPosition::ptAxisRectRatio);
    added.Line->point2->setCoords(1.0, value);
    added.Label = new QCPItemText(&plot);
    added.Label->setClipToAxisRect(false);
    added.Label->setText(label);
    added.Label->setColor(pen.color());
    added.Label->setFont(TrendChartFont(plot.font(), LabelPixels));
    added.Label->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    added.Label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
    added.Label->position->setCoords(1.0, value);
    added.Label->setPadding(QMargins(4, 0, 0, 0));
    return added;
}

}  // namespace leeb
