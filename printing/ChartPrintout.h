#pragma once
// The bar chart printed on one landscape page of a printer, stretched into fixed percentage
// margins of the printable area.

#include <QPrinter>

class QCustomPlot;

namespace leeb {

// Print rectangle in printer pixels, relative to the printable area's top-left corner.
// Right and Bottom are exclusive edges (Right - Left is the width).
struct ChartPrintRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const ChartPrintRect&) const = default;
};

// Margins left 5, top 4, right 4, bottom 5 percent of the printable width / height, each
// product rounded half to even.
ChartPrintRect ChartPrintRectangle(int printableWidth, int printableHeight);

// Prints `chart` laid out as on screen, in a space the size of the widget, stretched (aspect
// ratio not kept) into the print rectangle, as the print job "Chart1" on one landscape page.
// The plot draws itself onto the printer, so lines and text come out at the printer's
// resolution. The printer's orientation is restored afterwards, also when printing fails.
// Throws ReportError when the printer cannot be used; a started job is then aborted.
void PrintChart(QCustomPlot* chart, QPrinter& printer);

}  // namespace leeb
