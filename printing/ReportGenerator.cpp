#include "ReportGenerator.h"

#include <QCoreApplication>
#include <algorithm>
#include <string>

#include "CodeTableText.h"
#include "GbkText.h"
#include "MeasurementRecord.h"
#include "NumberText.h"
#include "PictogramBitmap.h"
#include "RecordEvaluation.h"
#include "RecordStatistics.h"
#include "RecordingPageWriter.h"
#include "ReportLabels.h"
#include "ReportQualityLines.h"

namespace leeb {
namespace {

// Page geometry, inches from the sheet's top-left corner.
constexpr double BandLeft = 0.6;
constexpr double BandRight = 7.5;
constexpr double BandTop = 0.75;
constexpr double FooterBottom = 10.75;
constexpr double BodyBottom = 10.5;
constexpr double TitleBaseline = 1.0;
constexpr double HeaderBaseline = 1.5;
constexpr double LinePitch = 0.25;
constexpr double RuleRight = 7.6;
constexpr double ContinuationMarkFromRight = 2.0;
// The report number's running header ends at the band's right edge, above the title.
constexpr double RunningHeaderBottom = 0.6;
constexpr double RunningHeaderSize = 10.0;
// GBK bytes of the 10 pt face across the band (6.9 in at half an em, 5 pt each).
constexpr int RunningHeaderWidth = 99;
// Rules and pictograms of continuation pages start a little lower than the header baseline.
constexpr double ContinuationGraphicsY = HeaderBaseline + 0.02;
// A page takes another record block only while it holds at most this many counted lines.
constexpr int PageLineLimit = 24;
constexpr int ReadingsPerLine = 8;
// Rows of 0.25 in from the first heading's baseline down to the body's bottom edge. The plain
// report's fullest page (four records of 32 readings) takes exactly this many; the extended
// report's longer blocks are kept within it.
constexpr int PageRows = 35;
constexpr int RegularReadingLines = 32 / ReadingsPerLine;  // a record holds 32 readings

const QString HeiFace = QStringLiteral("黑体");
const QString SongFace = QStringLiteral("宋体");

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

RecordTextFields ReadRecord(const RecordLines& lines, std::size_t r, char decimalSeparator) {
    try {
        return ParseRecordLine(lines[r], decimalSeparator);
    } catch (const ConversionError& error) {
        // Line r of RecordLines is line r + 1 of the record file.
        const std::string message = "Line " + std::to_string(r + 1) + ": " + error.what();
        if (error.Fault())
            throw ConversionError(message, *error.Fault());
        throw ConversionError(message);
    }
}

// "报告编号: <number>" at the top right of every page, so each sheet names its report; a number
// too long for the band is set smaller rather than cut.
void PrintRunningHeader(PageWriter& writer, const std::string& reportNumber) {
    if (reportNumber.empty()) {
        return;
    }
    const QString label =
        QCoreApplication::translate("ReportGenerator", "报告编号: ") + QString::fromStdString(reportNumber);
    const int length = static_cast<int>(GbkLength(label.toStdString()));
    const double size = length > RunningHeaderWidth
                            ? RunningHeaderSize * RunningHeaderWidth / length
                            : RunningHeaderSize;
    const double bottom = writer.BandBottom();
    writer.SetFont(SongFace, size);
    writer.SetBandBottom(RunningHeaderBottom);
    writer.PrintFooter(label, FooterAlign::Right);
    writer.SetBandBottom(bottom);
    // The page's next steps take their pitch from the footers' font.
    writer.SetFont(SongFace, RunningHeaderSize);
}

void PrintPageFooters(PageWriter& writer, const QString& printDate, int totalPages) {
    writer.SetFont(SongFace, 10);
    writer.SetBandBottom(FooterBottom);
    writer.PrintFooter(PageLabelOf(writer.PageNumber(), totalPages), FooterAlign::Left);
    writer.PrintFooter(DateLabel(printDate), FooterAlign::Right);
    writer.SetBandBottom(BodyBottom);
}

class ReportBody {
  public:
    ReportBody(PageWriter& writer, char decimalSeparator, const QString& printDate,
               const ReportContent& content, int totalPages)
        : writer_(writer),
          separator_(decimalSeparator),
          printDate_(printDate),
          content_(content),
          extended_(content.Extended()),
          totalPages_(totalPages) {}

    void FirstPageHeader() {
        writer_.SetBandLeft(BandLeft);
        writer_.SetBandRight(BandRight);
        writer_.SetBandTop(BandTop);
        writer_.SetFont(HeiFace, 24);
        writer_.SetUnderline(true);
        writer_.Home();
        writer_.SetBaseline(TitleBaseline);
        writer_.PrintCentered(QCoreApplication::translate("ReportGenerator", "硬度/强度测试报表"),
                              writer_.PageWidth() / 2.0);
        PrintPageFooters(writer_, printDate_, totalPages_);
        PrintRunningHeader(writer_, content_.Details.ReportNumber);
        writer_.SetBaseline(HeaderBaseline);
        // Rules follow the 10 pt footer font's pitch here (font mode): 1.5 + 1/6.
        graphicsY_ = writer_.Baseline() + writer_.LinePitch();
        // Twice down from the 10 pt baseline in 12 pt lines: the first heading's baseline.
        writer_.SetFont(SongFace, 12);
        writer_.RebaseBandTop();
        writer_.Home();
        writer_.RebaseBandTop();
        writer_.Home();
        pageLineCount_ = 0;
        if (extended_) {
            DetailsBlock();
        }
    }

    // The lab's details where the first heading would stand; they count as body lines, so
    // page 1 takes fewer records. The fixed pitch starts here instead of at the heading. Details
    // longer than a page go on over the next.
    void DetailsBlock() {
        const std::vector<std::string> lines =
            DetailsBlockLines(content_.Details, content_.Quality);
        if (lines.empty()) {
            return;
        }
        writer_.SetLinePitch(LinePitch);
        for (const std::string& line : lines) {
            if (pageRows_ + 1 > PageRows) {
                ContinuationPage();
            }
            BodyLine(line);
        }
        if (pageRows_ + 1 <= PageRows) {
            BodyLine(" ");
        }
    }

    // The 检验 / 审核 lines after the last record, on a page of their own when the last one
    // has no room left.
    void Signatures() {
        if (pageRows_ + 2 > PageRows) {
            ContinuationPage();
        }
        writer_.SetFont(SongFace, 12);
        BodyLine(" ");
        BodyLine(SignatureLine());
    }

    void ContinuationPage() {
        pageLineCount_ = 0;
        pageRows_ = 0;
        writer_.NewPage();
        writer_.SetBandTop(BandTop);
        writer_.SetFont(HeiFace, 24);
        writer_.SetBandLeft(BandLeft);
        writer_.SetBandRight(BandRight);
        writer_.Home();
        writer_.SetBaseline(TitleBaseline);
        // A report with details is a lab's document: its mark stands where page 1's title does.
        const bool identified = content_.Details.Any();
        writer_.PrintCentered(QCoreApplication::translate("ReportGenerator", "(续)"),
                              identified ? writer_.PageWidth() / 2.0
                                         : writer_.PageWidth() - ContinuationMarkFromRight);
        PrintPageFooters(writer_, printDate_, totalPages_);
        PrintRunningHeader(writer_, content_.Details.ReportNumber);
        writer_.SetBaseline(HeaderBaseline);
        graphicsY_ = ContinuationGraphicsY;
        writer_.SetFont(SongFace, 12);
        writer_.RebaseBandTop();
        writer_.Home();
    }

    void Record(std::size_t r, const RecordTextFields& fields) {
        writer_.SetFont(SongFace, 12);
        writer_.SetBold(true);
        writer_.Print(QStringLiteral("No. ") + QString::number(r));
        ++pageRows_;
        writer_.RebaseBandTop();
        writer_.SetLinePitch(LinePitch);
        graphicsY_ += LinePitch;
        const double c = graphicsY_;
        writer_.MoveTo(BandLeft, c);
        writer_.LineTo(RuleRight, c);
        writer_.SetBold(false);
        writer_.SetUnderline(false);
        writer_.SetItalic(false);
        writer_.Home();

        const DecodedSettings settings =
            DecodeSettingsWord(static_cast<uint16_t>(fields.SettingsWord));
        const std::string material =
            FillTo16(TrimBlanks(CodeTableText(MaterialText(settings)).toStdString()));
        std::string first =
            ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "测试材料: ")) + material;
        if (settings.StrengthMode == 0) {
            first += ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "硬度制: ")) +
                     FillTo16(TrimBlanks(ScaleText(settings)));
        } else {
            first += ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "强度:   ")) + Blanks(16);
            writer_.DrawBitmap(3.4, c + 0.05, 3.6, c + 0.25, bitmap_.Load(StrengthPictogram));
        }
        first += ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "测试日期:")) + fields.DateText;
        BodyLine(first);

        const std::string second = ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "冲击装置: ")) +
                                   FillTo16(TrimBlanks(ImpactDeviceText(settings))) +
                                   ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "冲击方向")) +
                                   Blanks(16) +
                                   ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "冲击次数: ")) +
                                   std::to_string(fields.ImpactCount);
        writer_.PrintLine(Q(second));
        ++pageLineCount_;
        ++pageRows_;
        writer_.DrawBitmap(3.6, graphicsY_, 3.9, graphicsY_ + 0.3,
                           bitmap_.Load(PictogramForDirection(settings.ImpactDirection)));
        graphicsY_ += LinePitch;

        const bool oneDecimal = OneDecimalScale(settings);
        const EvaluationOptions options = content_.Quality.For(settings);
        // The plain report evaluates with nothing set: all readings, no marks.
        const RecordEvaluation evaluation =
            EvaluateRecord(fields.Readings, oneDecimal, extended_ ? options : EvaluationOptions{});
        const RecordStatistics& statistics = evaluation.Used;
        std::string open;
        int readingLines = 0;
        for (std::size_t k = 0; k < fields.Readings.size(); ++k) {
            const std::string text = FormatGeneral(fields.Readings[k], separator_);
            open += ReadingCell(text, extended_ ? evaluation.Marks[k] : ReadingMark::Valid);
            if ((k + 1) % ReadingsPerLine == 0) {
                BodyLine(open);
                open.clear();
                ++readingLines;
            }
        }
        if (!open.empty() || readingLines == 0) {
            BodyLine(open);
        }

        BodyLine(ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "最大值:  ")) +
                 FillTo16(statistics.MaxText(separator_)) +
                 ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "最小值:  ")) +
                 FillTo16(statistics.MinText(separator_)) +
                 ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "平均值: ")) +
                 statistics.ReportMeanText(separator_));
        if (extended_) {
            BodyLine(
                SpreadLine(evaluation, options.ExcludeInvalid, fields.ImpactCount, separator_));
            if (options.Limits.Any()) {
                BodyLine(LimitsLine(options.Limits, evaluation.RecordVerdict, separator_));
            }
        }
        if (pageLineCount_ <= PageLineLimit) {
            BodyLine(" ");
        }
    }

    bool PageFull() const { return pageLineCount_ > PageLineLimit; }

    // Whether the extended block of a record still fits below what the page holds; the plain
    // report's blocks always do, by the counted-line rule alone.
    bool Fits(const RecordTextFields& fields) const {
        // A block on an empty page prints whatever its length; the details block is no room.
        if (!extended_ || pageRows_ == 0) {
            return true;
        }
        const int count = static_cast<int>(fields.Readings.size());
        const int readingRows = std::max(1, (count + ReadingsPerLine - 1) / ReadingsPerLine);
        const DecodedSettings settings =
            DecodeSettingsWord(static_cast<uint16_t>(fields.SettingsWord));
        const int limitsRow = content_.Quality.For(settings).Limits.Any() ? 1 : 0;
        // Heading, two settings rows, readings, statistics, spread, limits, separator.
        return pageRows_ + 1 + 2 + readingRows + 2 + limitsRow + 1 <= PageRows;
    }

    // Lines of older uploads may hold more than the 32 readings of a record, and their blocks
    // more than the 8 counted lines of the longest regular one. Such a block goes to a new page
    // when it would end further down than a regular block can; regular blocks are never moved.
    bool LongBlockNeedsNewPage(const RecordTextFields& fields) const {
        const int readingLines = std::max(
            1, (static_cast<int>(fields.Readings.size()) + ReadingsPerLine - 1) / ReadingsPerLine);
        const int extraLines = readingLines - RegularReadingLines;
        return extraLines > 0 && pageLineCount_ > 0 && pageLineCount_ > PageLineLimit - extraLines;
    }

  private:
    void BodyLine(const std::string& text) {
        writer_.PrintLine(Q(text));
        graphicsY_ += LinePitch;
        ++pageLineCount_;
        ++pageRows_;
    }

    PageWriter& writer_;
    char separator_;
    QString printDate_;
    const ReportContent& content_;
    bool extended_;
    int totalPages_;
    PictogramBitmap bitmap_;
    double graphicsY_ = 0.0;
    int pageLineCount_ = 0;
    int pageRows_ = 0;  // rows of the page in use, headings included
};

// The record lines a run prints: the chosen ones, or all.
std::vector<std::size_t> PrintedLines(const RecordLines& lines, const ReportContent& content) {
    if (!content.Records.empty()) {
        return content.Records;
    }
    std::vector<std::size_t> all;
    for (std::size_t r = 1; r < lines.size(); ++r) {
        all.push_back(r);
    }
    return all;
}

void PrintBody(PageWriter& writer, const RecordLines& lines, char decimalSeparator,
               const QString& printDate, const ReportContent& content, int totalPages) {
    ReportBody body(writer, decimalSeparator, printDate, content, totalPages);
    body.FirstPageHeader();
    const std::vector<std::size_t> printed = PrintedLines(lines, content);
    for (std::size_t i = 0; i < printed.size(); ++i) {
        const RecordTextFields fields = ReadRecord(lines, printed[i], decimalSeparator);
        if (body.LongBlockNeedsNewPage(fields) || !body.Fits(fields)) {
            body.ContinuationPage();
        }
        body.Record(printed[i], fields);
        if (body.PageFull() && i + 1 < printed.size()) {
            body.ContinuationPage();
        }
    }
    if (content.Details.Signatures) {
        body.Signatures();
    }
}

}  // namespace

void PrintReportBody(PageWriter& writer, const RecordLines& lines, char decimalSeparator,
                        const QString& printDate, const ReportContent& content) {
    int totalPages = 0;
    if (content.Details.Any()) {
        // Pages break by counted lines, never by font metrics, so a dry run on the recording
        // writer knows the page count the real one will reach.
        RecordingPageWriter dryRun;
        PrintBody(dryRun, lines, decimalSeparator, printDate, content, 0);
        totalPages = dryRun.PageNumber();
    }
    PrintBody(writer, lines, decimalSeparator, printDate, content, totalPages);
}

void CheckReportRecords(const RecordLines& lines, char decimalSeparator,
                        const ReportContent& content) {
    for (const std::size_t r : PrintedLines(lines, content)) {
        if (r == 0 || r >= lines.size()) {
            throw ConversionError("Record " + std::to_string(r) + " is not in the record file");
        }
        ReadRecord(lines, r, decimalSeparator);
    }
}

}  // namespace leeb
