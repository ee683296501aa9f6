#include "BarChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCoreApplication>
#include <QGraphicsItemGroup>
#include <QGraphicsLineItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "LocaleNumbers.h"

namespace leeb {

namespace {

const QColor SeriesColour(0, 128, 255);
const QColor MarkFill(255, 255, 225);
constexpr double ArrowHeadLength = 5.0;
constexpr double ArrowHeadHalfWidth = 3.0;
constexpr double MarkPadding = 2.0;

// Room above the highest bar for its arrow and mark, as a share of the value range.
constexpr double HeadroomFactor = 1.25;

}  // namespace

BarChart::BarChart(QWidget* parent)
    : QChartView(parent),
      series_(new QBarSeries),
      set_(new QBarSet(QString())),
      axisX_(new QBarCategoryAxis),
      axisY_(new QValueAxis) {
    setObjectName(QStringLiteral("Chart1"));
    series_->setObjectName(QStringLiteral("Series1"));
    setRenderHint(QPainter::Antialiasing, false);

    auto* chart = new QChart;
    chart->setTitle(QCoreApplication::translate("BarChart", "硬度 / 强度测试情况"));
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(palette().window());
    chart->setPlotAreaBackgroundVisible(false);  // the back wall stays unfilled
    chart->setMargins(QMargins(4, 4, 4, 4));

    set_->setColor(SeriesColour);
    set_->setBorderColor(SeriesColour.darker(150));
    series_->append(set_);
    series_->setLabelsVisible(false);  // the marks below replace the built-in labels
    chart->addSeries(series_);
    chart->addAxis(axisX_, Qt::AlignBottom);
    chart->addAxis(axisY_, Qt::AlignLeft);
    series_->attachAxis(axisX_);
    series_->attachAxis(axisY_);
    axisY_->setRange(0, 1);
    axisY_->setTickCount(6);
    axisY_->setLabelFormat(QStringLiteral("%g"));
    setChart(chart);

    connect(chart, &QChart::plotAreaChanged, this, [this] { ScheduleMarkUpdate(); });
    connect(axisY_, &QValueAxis::rangeChanged, this, [this] { ScheduleMarkUpdate(); });
}

BarChart::~BarChart() = default;

void BarChart::Clear() {
    points_.clear();
    RebuildSeries();
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
    RebuildSeries();
}

std::vector<QString> BarChart::MarkTexts() const {
    std::vector<QString> texts;
    texts.reserve(points_.size());
    for (const QPointF& p : points_)
        texts.push_back(BarMarkText(p.y()));
    return texts;
}

QLineF BarChart::ArrowLine(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= arrows_.size())
        return {};
    return arrows_[static_cast<std::size_t>(i)];
}

void BarChart::RebuildSeries() {
    QStringList categories;
    QList<qreal> values;
    double top = 0.0;
    double bottom = 0.0;
    for (const QPointF& p : points_) {
        categories << QLocale::system().toString(p.x());
        values << p.y();
        top = std::max(top, p.y());
        bottom = std::min(bottom, p.y());
    }
    set_->remove(0, set_->count());
    set_->append(values);
    axisX_->clear();
    axisX_->append(categories);
    if (top <= 0.0 && bottom >= 0.0)
        top = 1.0;
    axisY_->setRange(bottom * HeadroomFactor, top * HeadroomFactor);
    axisY_->applyNiceNumbers();
    ScheduleMarkUpdate();
}

void BarChart::ScheduleMarkUpdate() {
    if (updatePending_)
        return;
    updatePending_ = true;
    QTimer::singleShot(0, this, [this] {
        updatePending_ = false;
        UpdateMarks();
    });
}

void BarChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    ScheduleMarkUpdate();
}

void BarChart::UpdateMarks() {
    for (QGraphicsItemGroup* mark : marks_) {
        scene()->removeItem(mark);
        delete mark;
    }
    marks_.clear();
    arrows_.clear();

    QFont font = this->font();
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const double value = points_[i].y();
        const QPointF barTop =
            chart()->mapToPosition(QPointF(static_cast<double>(i), value), series_);
        // Marks of negative bars hang below them.
        const double direction = value < 0.0 ? 1.0 : -1.0;
        const QPointF arrowEnd = barTop + QPointF(0.0, direction * ArrowLength);
        arrows_.emplace_back(barTop, arrowEnd);

        auto* group = new QGraphicsItemGroup;
        auto* line = new QGraphicsLineItem(QLineF(barTop, arrowEnd));
        line->setPen(QPen(Qt::black, 1));
        group->addToGroup(line);

        // The head sits on the bar: the arrow points from the mark to the value it labels.
        const QPointF back(0.0, direction * ArrowHeadLength);
        QPolygonF head;
        head << barTop << barTop + back + QPointF(-ArrowHeadHalfWidth, 0.0)
             << barTop + back + QPointF(ArrowHeadHalfWidth, 0.0);
        auto* headItem = new QGraphicsPolygonItem(head);
        headItem->setBrush(Qt::black);
        headItem->setPen(Qt::NoPen);
        group->addToGroup(headItem);

        auto* text = new QGraphicsSimpleTextItem(BarMarkText(value));
        text->setFont(font);
        text->setBrush(Qt::black);
        const QRectF textRect = text->boundingRect();
        QRectF box(0.0, 0.0, textRect.width() + 2 * MarkPadding,
                   textRect.height() + 2 * MarkPadding);
        box.moveCenter(arrowEnd);
        if (direction < 0.0) {
            box.moveBottom(arrowEnd.y());
        } else {
            box.moveTop(arrowEnd.y());
        }
        auto* frame = new QGraphicsRectItem(box);
        frame->setBrush(MarkFill);
        frame->setPen(QPen(Qt::black, 1));
        group->addToGroup(frame);
        text->setPos(box.topLeft() + QPointF(MarkPadding, MarkPadding));
        group->addToGroup(text);

        group->setZValue(10);
        scene()->addItem(group);
        marks_.push_back(group);
    }
}

}  // namespace leeb
