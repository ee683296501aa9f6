#pragma once
// Reads a PDF back with poppler's command-line tools, for checking what a report looks like.

#include <QString>
#include <vector>

namespace leeb::testing {

struct PdfWord {
    int Page = 0;                                   // from 1
    double XMin = 0, YMin = 0, XMax = 0, YMax = 0;  // points from the page's top-left
    QString Text;
};

// The words of `pdftotext -bbox`; empty when the tool fails.
std::vector<PdfWord> PdfWords(const QString& pdfPath);
// The output of `pdffonts`.
QString PdfFonts(const QString& pdfPath);
// The output of `pdfinfo`.
QString PdfInfo(const QString& pdfPath);

}  // namespace leeb::testing
