#include "PainterPageWriter.h"

#include <QPageLayout>

#include "ReportFonts.h"

namespace leeb {

PainterPageWriter::PainterPageWriter(QPagedPaintDevice& device, QPainter& painter, int firstPage,
                                     int lastPage)
    : device_(device),
      painter_(painter),
      firstPage_(firstPage),
      lastPage_(lastPage),
      dpiX_(device.logicalDpiX()),
      dpiY_(device.logicalDpiY()) {
    // The report's faces must never fall back to a Latin face, whichever program prints.
    InstallFontSubstitutions();
    const QSizeF sheet = device.pageLayout().fullRect(QPageLayout::Inch).size();
    sheetWidth_ = sheet.width();
    sheetHeight_ = sheet.height();
    painter_.setPen(QPen(Qt::black, 0));  // cosmetic: the device's thinnest line
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    StartFirstPage();
}

QFont PainterPageWriter::ToQFont(const ReportFont& font) {
    QFont result(font.Face);
    result.setPointSizeF(font.Size);
    result.setBold(font.Bold);
    result.setUnderline(font.Underline);
    result.setItalic(font.Italic);
    return result;
}

const PainterPageWriter::CachedFont& PainterPageWriter::Resolve(const ReportFont& font) {
    for (const CachedFont& cached : fonts_) {
        if (cached.Key == font) {
            return cached;
        }
    }
    QFont qfont = ToQFont(font);
    QFontMetricsF metrics(qfont, &device_);
    fonts_.push_back(CachedFont{font, qfont, metrics});
    return fonts_.back();
}

bool PainterPageWriter::Drawn(int page) const {
    return (firstPage_ <= 0 || page >= firstPage_) && (lastPage_ <= 0 || page <= lastPage_);
}

double PainterPageWriter::FontDescent(const ReportFont& font) {
    return Resolve(font).Metrics.descent() / dpiY_;
}

double PainterPageWriter::TextWidth(const ReportFont& font, const QString& text) {
    return Resolve(font).Metrics.horizontalAdvance(text) / dpiX_;
}

void PainterPageWriter::DrawText(double x, double baseline, const QString& text,
                                 const ReportFont& font) {
    if (!Drawn(PageNumber())) {
        return;
    }
    painter_.setFont(Resolve(font).Font);
    painter_.drawText(QPointF(x * dpiX_, baseline * dpiY_), text);
}

void PainterPageWriter::DrawLine(double x1, double y1, double x2, double y2) {
    if (!Drawn(PageNumber())) {
        return;
    }
    painter_.drawLine(QPointF(x1 * dpiX_, y1 * dpiY_), QPointF(x2 * dpiX_, y2 * dpiY_));
}

void PainterPageWriter::DrawImage(double x1, double y1, double x2, double y2, const QImage& image) {
    if (!Drawn(PageNumber())) {
        return;
    }
    painter_.drawImage(QRectF(QPointF(x1 * dpiX_, y1 * dpiY_), QPointF(x2 * dpiX_, y2 * dpiY_)),
                       image);
}

void PainterPageWriter::StartNextPage() {
    // Only a sheet that was drawn and is followed by another drawn one needs a new sheet.
    if (Drawn(PageNumber()) && Drawn(PageNumber() + 1)) {
        device_.newPage();
    }
}

}  // namespace leeb
