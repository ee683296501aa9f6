#pragma once
// The page writer over a QPainter on a paged device (printer, PDF writer, preview). Inches
// map to device pixels by the device's resolution; (0, 0) must be the sheet's top-left
// corner (full-page printer, PDF writer with zero margins).
//
// A page range limits what reaches the device: pages outside it are generated (the cursor
// logic must run through them) but not drawn, and no empty sheets are emitted for them.

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <vector>

#include "PageWriter.h"

namespace leeb {

class PainterPageWriter final : public PageWriter {
  public:
    // firstPage/lastPage 0 means no limit. The painter must be active on device.
    PainterPageWriter(QPagedPaintDevice& device, QPainter& painter, int firstPage = 0,
                      int lastPage = 0);

    // The face that a report font resolves to on this system, for checks.
    static QFont ToQFont(const ReportFont& font);

  protected:
    double SheetWidth() const override { return sheetWidth_; }
    double SheetHeight() const override { return sheetHeight_; }
    double FontDescent(const ReportFont& font) override;
    double TextWidth(const ReportFont& font, const QString& text) override;
    void DrawText(double x, double baseline, const QString& text, const ReportFont& font) override;
    void DrawLine(double x1, double y1, double x2, double y2) override;
    void DrawImage(double x1, double y1, double x2, double y2, const QImage& image) override;
    void StartNextPage() override;

  private:
    struct CachedFont {
        ReportFont Key;
        QFont Font;
        QFontMetricsF Metrics;
    };
    const CachedFont& Resolve(const ReportFont& font);
    bool Drawn(int page) const;

    QPagedPaintDevice& device_;
    QPainter& painter_;
    int firstPage_;
    int lastPage_;
    double dpiX_;
    double dpiY_;
    double sheetWidth_;
    double sheetHeight_;
    std::vector<CachedFont> fonts_;
};

}  // namespace leeb
