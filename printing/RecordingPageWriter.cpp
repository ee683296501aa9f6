#include "RecordingPageWriter.h"

#include "GbkText.h"

namespace leeb {

RecordingPageWriter::RecordingPageWriter(const Metrics& metrics) : metrics_(metrics) {
    StartFirstPage();
}

double RecordingPageWriter::WidthOf(const QString& text, double sizePoints) const {
    const auto bytes = static_cast<double>(GbkLength(text.toStdString()));
    return bytes * sizePoints / 144.0;
}

void RecordingPageWriter::DrawText(double x, double baseline, const QString& text,
                                   const ReportFont& font) {
    RecordedOperation op;
    op.Type = RecordedOperation::Kind::Text;
    op.Page = PageNumber();
    op.X1 = x;
    op.Y1 = baseline;
    op.X2 = WidthOf(text, font.Size);
    op.Text = text;
    op.Font = font;
    operations_.push_back(std::move(op));
}

void RecordingPageWriter::DrawLine(double x1, double y1, double x2, double y2) {
    RecordedOperation op;
    op.Type = RecordedOperation::Kind::Line;
    op.Page = PageNumber();
    op.X1 = x1;
    op.Y1 = y1;
    op.X2 = x2;
    op.Y2 = y2;
    operations_.push_back(std::move(op));
}

void RecordingPageWriter::DrawImage(double x1, double y1, double x2, double y2,
                                    const QImage& image) {
    RecordedOperation op;
    op.Type = RecordedOperation::Kind::Bitmap;
    op.Page = PageNumber();
    op.X1 = x1;
    op.Y1 = y1;
    op.X2 = x2;
    op.Y2 = y2;
    op.Bitmap = image.copy();
    operations_.push_back(std::move(op));
}

void RecordingPageWriter::StartNextPage() {
    RecordedOperation op;
    op.Type = RecordedOperation::Kind::NewPage;
    op.Page = PageNumber();
    operations_.push_back(std::move(op));
}

}  // namespace leeb
