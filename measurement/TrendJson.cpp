#include "TrendJson.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

namespace leeb {

namespace {

void WriteNumber(std::ostream& out, double value) {
    if (!std::isfinite(value)) {
        out << "null";
        return;
    }
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    out.write(text.data(), result.ptr - text.data());
}

void WriteFigure(std::ostream& out, std::string_view name, const std::optional<double>& value) {
    out << '"' << name << "\":";
    if (value) {
        WriteNumber(out, *value);
    } else {
        out << "null";
    }
    out << ',';
}

void WriteString(std::ostream& out, std::string_view text) {
    out << '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::array<char, 8> escape{};
            std::snprintf(escape.data(), escape.size(), "\\u%04x", static_cast<unsigned>(c));
            out << escape.data();
        } else {
            out << c;
        }
    }
    out << '"';
}

void WriteIds(std::ostream& out, const TrendSeries& series,
              const std::vector<std::size_t>& indices) {
    out << '[';
    for (std::size_t i = 0; i < indices.size(); ++i) {
        out << (i == 0 ? "" : ",") << series.Points[indices[i]].Id;
    }
    out << ']';
}

}  // namespace

void WriteTrendJson(std::ostream& out, const TrendSeries& series, const TrendFigures& figures) {
    out << "{\"n\":" << figures.N << ',';
    WriteFigure(out, "mean", figures.Mean);
    WriteFigure(out, "mr_bar", figures.MrBar);
    WriteFigure(out, "sigma_within", figures.SigmaWithin);
    WriteFigure(out, "sigma_overall", figures.SigmaOverall);
    WriteFigure(out, "ucl", figures.Ucl);
    WriteFigure(out, "lcl", figures.Lcl);
    WriteFigure(out, "mr_ucl", figures.MrUcl);
    WriteFigure(out, "cp", figures.Cp);
    WriteFigure(out, "cpk", figures.Cpk);
    WriteFigure(out, "pp", figures.Pp);
    WriteFigure(out, "ppk", figures.Ppk);
    out << "\"points\":[";
    for (std::size_t i = 0; i < series.Points.size(); ++i) {
        const TrendPoint& point = series.Points[i];
        out << (i == 0 ? "" : ",") << "\n{\"id\":" << point.Id << ",\"number\":" << point.Number
            << ",\"date\":";
        WriteString(out, point.DateText);
        out << ",\"value\":";
        WriteNumber(out, point.Value);
        out << '}';
    }
    out << "],\"rule1\":";
    WriteIds(out, series, figures.Rule1);
    out << ",\"rule2\":";
    WriteIds(out, series, figures.Rule2);
    out << "}\n";
}

}  // namespace leeb
