#include "PageWriter.h"

#include "ReportErrors.h"

namespace leeb {

void PageWriter::StartFirstPage() {
    page_ = 1;
    left_ = 0.0;
    right_ = SheetWidth();
    top_ = 0.0;
    bottom_ = SheetHeight();
    Home();
}

void PageWriter::SetFont(const QString& face, double sizePoints) {
    font_ = ReportFont{face, sizePoints};
}

void PageWriter::Reevaluate() {
    descent_ = FontDescent(font_);
    if (!fixedPitch_) {
        pitch_ = font_.Size / 60.0;
    }
}

void PageWriter::GotoLine(int line) {
    Reevaluate();
    line_ = line;
    x_ = left_;
    y_ = top_ + line * pitch_ - descent_;
}

void PageWriter::RebaseBandTop() {
    top_ = y_ + descent_;
    GotoLine(0);
}

void PageWriter::SetBaseline(double y) {
    Reevaluate();
    y_ = y;
}

void PageWriter::SetLinePitch(double pitch) {
    pitch_ = pitch;
    fixedPitch_ = true;
}

void PageWriter::BeforeDrawing() const {
    if (cancelled_) {
        throw ReportCancelled();
    }
}

void PageWriter::AfterDrawing() {
    if (progress_ && !progress_(page_)) {
        cancelled_ = true;
        throw ReportCancelled();
    }
}

void PageWriter::Text(double x, const QString& text) {
    BeforeDrawing();
    DrawText(x, y_, text, font_);
    AfterDrawing();
}

void PageWriter::PrintCentered(const QString& text, double x) {
    Text(x - TextWidth(font_, text) / 2.0, text);
}

void PageWriter::PrintFooter(const QString& text, FooterAlign align) {
    Reevaluate();
    x_ = left_;
    y_ = bottom_ - descent_;
    Text(align == FooterAlign::Left ? left_ : right_ - TextWidth(font_, text), text);
}

void PageWriter::Print(const QString& text) {
    const double width = TextWidth(font_, text);
    Text(x_, text);
    x_ += width;
}

void PageWriter::PrintLine(const QString& text) {
    Print(text);
    x_ = left_;
    Reevaluate();
    ++line_;
    y_ += pitch_;
}

void PageWriter::MoveTo(double x, double y) {
    penX_ = x;
    penY_ = y;
}

void PageWriter::LineTo(double x, double y) {
    BeforeDrawing();
    DrawLine(penX_, penY_, x, y);
    penX_ = x;
    penY_ = y;
    AfterDrawing();
}

void PageWriter::DrawBitmap(double x1, double y1, double x2, double y2, const QImage& bitmap) {
    BeforeDrawing();
    DrawImage(x1, y1, x2, y2, bitmap);
    AfterDrawing();
}

void PageWriter::NewPage() {
    BeforeDrawing();
    StartNextPage();
    ++page_;
    left_ = 0.0;
    right_ = SheetWidth();
    top_ = 0.0;
    bottom_ = SheetHeight();
    Home();
}

}  // namespace leeb
