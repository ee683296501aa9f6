#pragma once
// A page writer that draws nothing and records every drawing operation with its resolved
// coordinates, for checking a generated report without a device. Font metrics are simple
// and deterministic: a GBK byte is half an em wide, the descent a fixed share of the size.

#include <QImage>
#include <QString>
#include <vector>

#include "PageWriter.h"

namespace leeb {

struct RecordedOperation {
    enum class Kind { Text, Line, Bitmap, NewPage };
    Kind Type = Kind::Text;
    int Page = 1;
    // Text: left x and baseline y, width in x2; line and bitmap: (x1, y1)-(x2, y2).
    double X1 = 0.0, Y1 = 0.0, X2 = 0.0, Y2 = 0.0;
    QString Text;
    ReportFont Font;
    QImage Bitmap;
};

class RecordingPageWriter final : public PageWriter {
  public:
    struct Metrics {
        double SheetWidth = 8.27;  // A4
        double SheetHeight = 11.69;
        double DescentPerPoint = 0.22 / 72.0;  // inches of descent per point of size
    };

    RecordingPageWriter() : RecordingPageWriter(Metrics{}) {}
    explicit RecordingPageWriter(const Metrics& metrics);

    const std::vector<RecordedOperation>& Operations() const { return operations_; }
    // The descent this writer reports for a size, to compute expected positions.
    double DescentFor(double sizePoints) const { return sizePoints * metrics_.DescentPerPoint; }
    double WidthOf(const QString& text, double sizePoints) const;

  protected:
    double SheetWidth() const override { return metrics_.SheetWidth; }
    double SheetHeight() const override { return metrics_.SheetHeight; }
    double FontDescent(const ReportFont& font) override { return DescentFor(font.Size); }
    double TextWidth(const ReportFont& font, const QString& text) override {
        return WidthOf(text, font.Size);
    }
    void DrawText(double x, double baseline, const QString& text, const ReportFont& font) override;
    void DrawLine(double x1, double y1, double x2, double y2) override;
    void DrawImage(double x1, double y1, double x2, double y2, const QImage& image) override;
    void StartNextPage() override;

  private:
    Metrics metrics_;
    std::vector<RecordedOperation> operations_;
};

}  // namespace leeb
