#pragma once
// The font state of a page writer: face, size and the three styles; always black.

#include <QString>

namespace leeb {

struct ReportFont {
    QString Face;
    double Size = 10.0;  // points
    bool Bold = false;
    bool Underline = false;
    bool Italic = false;

    bool operator==(const ReportFont&) const = default;
};

}  // namespace leeb
