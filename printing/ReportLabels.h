#pragma once
// The texts of the report that do not come from a record: the labels at the foot of each page
// and the fills that align the body columns.

#include <QDate>
#include <QString>
#include <string>

namespace leeb {

// U+3000 "第  <page>  页". The label's first character stands in for the GBK code A3 A0 (no
// standard character; fonts show a stray private-use glyph for it): a full-width blank keeps
// the label's width and its GBK length.
QString PageLabel(int page);

// "日期:   <date>   ", the date in the default locale's short format in Chinese (2026/12/10),
// else as 2026-12-10.
QString DateLabel(const QString& printDate);
QString PrintDateText(const QDate& date);

// A body-line label in the interface language (translated under "ReportGenerator", where the
// source is marked), blank-filled to the GBK length of its Chinese source: the columns after it
// stay where the Chinese report has them. A longer translation pushes them to the right.
std::string ReportLabel(const char* source);

// fill(16 - GBK length of text): text followed by blanks up to 16 GBK bytes; a text of 16
// bytes or more gets none and pushes the rest of its line to the right.
std::string FillTo16(const std::string& text);
std::string Blanks(int count);

}  // namespace leeb
