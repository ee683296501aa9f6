#pragma once
// The window's client area above the status bar. At the design size every panel stands where
// the window's layout puts it. A larger window gives the extra height to the tree and the
// chart, and the extra width to the chart: the detail panel and the button bar keep their size
// and move down so that they stay below the chart.

#include <QRect>
#include <QSize>
#include <QWidget>

namespace leeb {

// Where the client area's parts go for a client area of a given size.
struct ClientGeometry {
    QRect RecordPanel;  // in the client area
    QRect ViewPanel;    // in the client area
    QRect ChartFrame;   // in the view panel
    QRect Chart;        // in the chart frame
    QRect DetailPanel;  // in the view panel
    QRect ButtonBar;    // the five command buttons, in the view panel
};

class ClientArea : public QWidget {
  public:
    // The client area of the design, the status bar left out; also the smallest one laid out
    // by the design: a smaller area (a screen too small for the window) keeps the design's
    // places and cuts off what does not fit.
    static constexpr QSize DesignSize{880, 567};

    static ClientGeometry GeometryFor(QSize size);

    explicit ClientArea(QWidget* parent = nullptr) : QWidget(parent) {}

    struct Parts {
        QWidget* RecordPanel = nullptr;
        QWidget* ViewPanel = nullptr;
        QWidget* ChartFrame = nullptr;
        QWidget* Chart = nullptr;
        QWidget* DetailPanel = nullptr;
        QWidget* ButtonBar = nullptr;
    };
    void SetParts(const Parts& parts) {
        parts_ = parts;
        PlaceParts();
    }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlaceParts();

    Parts parts_;
};

}  // namespace leeb
