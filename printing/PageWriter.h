#pragma once
// Page-oriented output with a text cursor, as the report generator drives it. All coordinates
// are inches from the top-left corner of the sheet, y being the text baseline.
//
// The writer keeps a cursor (x, baseline y), a band (left L, right R, top T, bottom B), a
// line number n, a line pitch p, the current font with its descent d, and the page number.
// "Re-evaluating" sets d to the descent of the current font and, in font mode, p to the font
// size / 60 in (1.2 x the size); after SetLinePitch the pitch stays fixed for the writer's life.
//
// The cursor logic lives here; a device subclass measures and draws. Drawing never breaks
// pages by itself.

#include <QImage>
#include <QString>
#include <functional>

#include "ReportFont.h"

namespace leeb {

enum class FooterAlign { Left, Right };

class PageWriter {
  public:
    virtual ~PageWriter() = default;
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;

    void SetBandLeft(double value) { left_ = value; }
    void SetBandRight(double value) { right_ = value; }
    void SetBandTop(double value) { top_ = value; }
    void SetBandBottom(double value) { bottom_ = value; }
    double BandLeft() const { return left_; }
    double BandRight() const { return right_; }
    double BandTop() const { return top_; }
    double BandBottom() const { return bottom_; }

    // Face and size; black, bold, underline and italic off.
    void SetFont(const QString& face, double sizePoints);
    void SetBold(bool on) { font_.Bold = on; }
    void SetUnderline(bool on) { font_.Underline = on; }
    void SetItalic(bool on) { font_.Italic = on; }
    const ReportFont& Font() const { return font_; }

    // Re-evaluates; x := L; y := T + n * p - d.
    void GotoLine(int line);
    void Home() { GotoLine(1); }
    // T := y + d (the descent before this call), then line 0.
    void RebaseBandTop();
    void SetBaseline(double y);
    double Baseline() const { return y_; }
    double CursorX() const { return x_; }
    int LineNumber() const { return line_; }
    void SetLinePitch(double pitch);
    double LinePitch() const { return pitch_; }
    bool FixedPitch() const { return fixedPitch_; }
    double Descent() const { return descent_; }

    void PrintCentered(const QString& text, double x);
    void PrintFooter(const QString& text, FooterAlign align);
    void Print(const QString& text);
    void PrintLine(const QString& text);
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void DrawBitmap(double x1, double y1, double x2, double y2, const QImage& bitmap);
    // Ends the page and starts the next: band := whole sheet, home.
    void NewPage();

    double PageWidth() const { return SheetWidth(); }
    int PageNumber() const { return page_; }

    // Called after every drawing operation with the page number; returning false cancels the
    // run: the operation throws ReportCancelled and so does every later one.
    void SetProgressHandler(std::function<bool(int page)> handler) {
        progress_ = std::move(handler);
    }

  protected:
    PageWriter() = default;
    // Call from the subclass constructor once the sheet size is known.
    void StartFirstPage();

    virtual double SheetWidth() const = 0;
    virtual double SheetHeight() const = 0;
    virtual double FontDescent(const ReportFont& font) = 0;
    virtual double TextWidth(const ReportFont& font, const QString& text) = 0;
    virtual void DrawText(double x, double baseline, const QString& text,
                          const ReportFont& font) = 0;
    virtual void DrawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void DrawImage(double x1, double y1, double x2, double y2, const QImage& image) = 0;
    virtual void StartNextPage() = 0;

  private:
    void Reevaluate();
    void BeforeDrawing() const;
    void AfterDrawing();
    void Text(double x, const QString& text);

    ReportFont font_{QStringLiteral("宋体"), 10.0};
    double left_ = 0.0, right_ = 0.0, top_ = 0.0, bottom_ = 0.0;
    double x_ = 0.0, y_ = 0.0;
    double penX_ = 0.0, penY_ = 0.0;
    int line_ = 0;
    double pitch_ = 0.0;
    double descent_ = 0.0;
    bool fixedPitch_ = false;
    int page_ = 1;
    bool cancelled_ = false;
    std::function<bool(int)> progress_;
};

}  // namespace leeb
