#include "BarChart.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <optional>

#include "ChartValueRange.h"
#include "LocaleNumbers.h"

namespace leeb {

namespace {

const QColor SeriesColour(0, 128, 255);
const QColor MarkFill(255, 255, 225);
// Readings outside the limits or failed; the limit lines.
const QColor MarkedColour(230, 60, 60);
const QColor LimitLineColour(200, 0, 0);
constexpr double BarWidth = 0.6;  // share of a reading's column
// So that a record of one or two readings shows bars, not walls.
constexpr double WidestBarPixels = 80.0;
constexpr int TitlePixels = 14;
constexpr int LabelPixels = 11;
constexpr int MarkPixels = 11;
constexpr int SmallestMarkPixels = 8;
// Free pixels between the marks of neighbouring columns, and above the highest mark.
constexpr double MarkGap = 3.0;
const QMargins MarkPadding(2, 1, 2, 1);
constexpr Qt::Alignment MarkTextAlignment = Qt::AlignTop | Qt::AlignHCenter;
constexpr double ArrowHeadWidth = 6.0;
constexpr double ArrowHeadLength = 6.0;
constexpr int LayoutRounds = 3;

// The box a text item draws around its text, before it is turned.
QSizeF MarkBox(const QFont& font, const QString& text) {
    const QRect bounds =
        QFontMetrics(font).boundingRect(0, 0, 0, 0, Qt::TextDontClip | MarkTextAlignment, text);
    return QSizeF(bounds.width() + MarkPadding.left() + MarkPadding.right(),
                  bounds.height() + MarkPadding.top() + MarkPadding.bottom());
}

bool Differs(double a, double b) {
    return std::abs(a - b) > 1e-9 * std::max({1.0, std::abs(a), std::abs(b)});
}

}  // namespace

BarChart::BarChart(QWidget* parent)
    : QCustomPlot(parent),
      readingBars_(new QCPBars(xAxis, yAxis)),
      title_(
          new QCPTextElement(this, QCoreApplication::translate("BarChart", "硬度 / 强度测试情况"))),
      xTicker_(new QCPAxisTickerText),
      yTicker_(new QCPAxisTickerFixed),
      marked_(new QCPBars(xAxis, yAxis)) {
    setObjectName(QStringLiteral("Chart1"));
    // The plot's default locale leaves out thousands separators; the value axis groups them
    // as the marks do.
    setLocale(QLocale::system());
    setBackground(QBrush(Qt::white));
    setAutoAddPlottableToLegend(false);
    legend->setVisible(false);

    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, title_);

    readingBars_->setObjectName(QStringLiteral("Series1"));
    readingBars_->setWidthType(QCPBars::wtAbsolute);
    readingBars_->setBrush(SeriesColour);
    readingBars_->setPen(QPen(SeriesColour.darker(150)));
    // Bars stand on zero, and the plot rectangle cuts them off at the value axis' lower edge:
    // the series keeps the readings themselves as its values.
    readingBars_->setBaseValue(0.0);
    marked_->setObjectName(QStringLiteral("MarkedReadings"));
    marked_->setWidthType(QCPBars::wtAbsolute);
    marked_->setBrush(MarkedColour);
    marked_->setPen(QPen(MarkedColour.darker(150)));
    marked_->setBaseValue(0.0);

    xAxis->setTicker(xTicker_);
    xAxis->grid()->setVisible(false);
    yTicker_->setScaleStrategy(QCPAxisTickerFixed::ssNone);
    yAxis->setTicker(yTicker_);
    yAxis->setNumberFormat(QStringLiteral("f"));
    yAxis->setSubTicks(false);
    // The plotting area stays unfilled: the axis rect keeps its default empty background.

    // The overlay layer is QCustomPlot's own for selection rectangles, which this chart never
    // draws; drawn with the rest it needs no paint buffer of its own, one less to fill per
    // replot.
    if (QCPLayer* overlay = layer(QStringLiteral("overlay")))
        overlay->setMode(QCPLayer::lmLogical);

    // No replot of its own: every widget is resized before it is first shown, and the resize
    // replots; a queued one would draw the empty chart a second time, before the window's
    // first paint.
    RebuildSeries(false);
}

BarChart::~BarChart() = default;

void BarChart::Clear() {
    points_.clear();
    limitMarks_ = {};
    RebuildSeries();
}

void BarChart::SetLimitMarks(ChartLimitMarks marks) {
    limitMarks_ = std::move(marks);
    RebuildSeries();
}

std::vector<double> BarChart::LimitLineYs() const {
    std::vector<double> ys;
    for (const QCPItemStraightLine* line : limitLines_)
        ys.push_back(line->point1->pixelPosition().y());
    return ys;
}

void BarChart::AddPoint(double x, double y) {
    const auto at = std::upper_bound(points_.begin(), points_.end(), x,
                                     [](double v, const QPointF& p) { return v < p.x(); });
    points_.insert(at, QPointF(x, y));
    RebuildSeries();
}

void BarChart::SetPoints(std::vector<QPointF> points) {
    std::stable_sort(points.begin(), points.end(),
                     [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    points_ = std::move(points);
    limitMarks_ = {};
    RebuildSeries();
}

std::vector<QString> BarChart::MarkTexts() const {
    std::vector<QString> texts;
    texts.reserve(marks_.size());
    for (const Mark& mark : marks_)
        texts.push_back(mark.Text->text());
    return texts;
}

std::vector<QString> BarChart::XLabels() const {
    std::vector<QString> labels;
    for (const QString& label : xTicker_->ticks())
        labels.push_back(label);
    return labels;
}

QRectF BarChart::MarkRect(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= marks_.size())
        return {};
    const QCPItemText* text = marks_[static_cast<std::size_t>(i)].Text;
    QPolygonF corners;
    corners << text->topLeft->pixelPosition() << text->topRight->pixelPosition()
            << text->bottomRight->pixelPosition() << text->bottomLeft->pixelPosition();
    return corners.boundingRect();
}

QLineF BarChart::ArrowLine(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= marks_.size())
        return {};
    const QCPItemLine* arrow = marks_[static_cast<std::size_t>(i)].Arrow;
    return QLineF(arrow->end->pixelPosition(), arrow->start->pixelPosition());
}

void BarChart::UpdateMarks() {
    replot(rpQueuedRefresh);
}

QFont BarChart::ChartFont(int pixelSize, bool bold) const {
    // Sizes in pixels, not points: a printer scales them with the rest of the chart instead
    // of resolving points at its own resolution.
    QFont chartFont = font();
    chartFont.setPixelSize(pixelSize);
    chartFont.setBold(bold);
    return chartFont;
}

void BarChart::RebuildSeries(bool queueReplot) {
    for (const Mark& mark : marks_) {
        removeItem(mark.Text);
        removeItem(mark.Arrow);
    }
    marks_.clear();
    xTicker_->clear();
    for (QCPItemStraightLine* line : limitLines_)
        removeItem(line);
    limitLines_.clear();
    QVector<double> markedKeys;
    QVector<double> markedValues;

    QVector<double> keys;
    QVector<double> values;
    // Bars stand in columns 1..N in X order; the column's label is the point's X.
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const double key = static_cast<double>(i + 1);
        const QPointF& p = points_[i];
        keys << key;
        values << p.y();
        if (i < limitMarks_.Marks.size() && limitMarks_.Marks[i] != ReadingMark::Valid) {
            markedKeys << key;
            markedValues << p.y();
        }
        xTicker_->addTick(key, QLocale::system().toString(p.x()));

        // The arrow's head sits on the bar top; its tail, ArrowLength pixels above, carries
        // the mark.
        auto* arrow = new QCPItemLine(this);
        arrow->setClipToAxisRect(false);
        arrow->setPen(QPen(Qt::black, 1));
        arrow->setHead(QCPLineEnding(QCPLineEnding::esFlatArrow, ArrowHeadWidth, ArrowHeadLength));
        arrow->end->setType(QCPItemPosition::ptPlotCoords);
        arrow->end->setCoords(key, p.y());
        arrow->start->setType(QCPItemPosition::ptAbsolute);
        arrow->start->setParentAnchor(arrow->end);
        arrow->start->setCoords(0.0, -ArrowLength);

        auto* text = new QCPItemText(this);
        text->setClipToAxisRect(false);
        text->setText(BarMarkText(p.y()));
        text->setColor(Qt::black);
        text->setPen(QPen(Qt::black, 1));
        text->setBrush(MarkFill);
        text->setPadding(MarkPadding);
        text->setTextAlignment(MarkTextAlignment);
        text->position->setType(QCPItemPosition::ptAbsolute);
        text->position->setParentAnchor(arrow->start);
        text->position->setCoords(0.0, 0.0);
        marks_.push_back({arrow, text});
    }
    readingBars_->setData(keys, values, true);
    marked_->setData(markedKeys, markedValues, true);
    for (const std::optional<double>& limit :
         {limitMarks_.Limits.Lower, limitMarks_.Limits.Upper}) {
        if (!limit)
            continue;
        auto* line = new QCPItemStraightLine(this);
        line->setPen(QPen(LimitLineColour, 1, Qt::DashLine));
        line->point1->setCoords(0.0, *limit);
        line->point2->setCoords(1.0, *limit);
        limitLines_.push_back(line);
    }
    xAxis->setRange(0.5, static_cast<double>(std::max<std::size_t>(points_.size(), 1)) + 0.5);
    if (queueReplot)
        replot(rpQueuedReplot);
}

void BarChart::updateLayout() {
    title_->setFont(ChartFont(TitlePixels, true));
    xAxis->setTickLabelFont(ChartFont(LabelPixels));
    yAxis->setTickLabelFont(ChartFont(LabelPixels));
    // The marks need the plot rectangle, and the value range they choose can widen the value
    // axis' labels and so narrow the rectangle again; it settles within a round or two.
    for (int round = 0; round < LayoutRounds; ++round) {
        QCustomPlot::updateLayout();
        if (!ArrangeMarks())
            return;
    }
    QCustomPlot::updateLayout();
}

bool BarChart::ArrangeMarks() {
    const QRect plot = axisRect()->rect();
    const double column = plot.width() / xAxis->range().size();
    bool changed = false;
    readingBars_->setWidth(std::min(BarWidth * column, WidestBarPixels));
    marked_->setWidth(readingBars_->width());

    // Reading numbers turn upright only when the window is too narrow for them side by side.
    const QFontMetrics labelMetrics(xAxis->tickLabelFont());
    int widestLabel = 0;
    for (const QString& label : xTicker_->ticks())
        widestLabel = std::max(widestLabel, labelMetrics.horizontalAdvance(label));
    const double labelRotation = widestLabel + MarkGap > column ? -90.0 : 0.0;
    if (Differs(xAxis->tickLabelRotation(), labelRotation)) {
        xAxis->setTickLabelRotation(labelRotation);
        changed = true;
    }

    // Marks stay inside their own column: upright when the widest fits, otherwise turned to
    // read upwards, in a smaller face when even their height does not fit.
    QFont markFont = ChartFont(MarkPixels);
    double widest = 0.0;
    for (const Mark& mark : marks_)
        widest = std::max(widest, MarkBox(markFont, mark.Text->text()).width());
    const bool upright = widest + MarkGap <= column;
    if (!upright) {
        for (int pixels = MarkPixels; pixels >= SmallestMarkPixels; --pixels) {
            markFont = ChartFont(pixels);
            double thickest = 0.0;
            for (const Mark& mark : marks_)
                thickest = std::max(thickest, MarkBox(markFont, mark.Text->text()).height());
            if (thickest + MarkGap <= column)
                break;
        }
    }

    std::vector<double> values;
    std::vector<double> headroom;
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        QCPItemText* text = marks_[i].Text;
        text->setFont(markFont);
        text->setRotation(upright ? 0.0 : -90.0);
        // Turned by -90 degrees the box's left edge is its bottom on screen.
        text->setPositionAlignment(upright ? (Qt::AlignBottom | Qt::AlignHCenter)
                                           : (Qt::AlignLeft | Qt::AlignVCenter));
        const QSizeF box = MarkBox(markFont, text->text());
        values.push_back(points_[i].y());
        headroom.push_back(ArrowLength + (upright ? box.height() : box.width()) + MarkGap);
    }

    // The limit lines stay inside the plot: each counts as a value that needs no headroom.
    for (const std::optional<double>& limit :
         {limitMarks_.Limits.Lower, limitMarks_.Limits.Upper}) {
        if (limit) {
            values.push_back(*limit);
            headroom.push_back(0.0);
        }
    }
    const ChartValueRange range = FitChartValueRange(values, headroom, plot.height());
    if (Differs(yAxis->range().lower, range.Lower) || Differs(yAxis->range().upper, range.Upper))
        changed = true;
    yAxis->setRange(range.Lower, range.Upper);
    yTicker_->setTickStep(range.Step);
    yAxis->setNumberPrecision(range.Decimals);
    return changed;
}

}  // namespace leeb
