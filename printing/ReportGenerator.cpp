#include "ReportGenerator.h"

#include <QCoreApplication>
#include <algorithm>
#include <string>

#include "CodeTableText.h"
#include "MeasurementRecord.h"
#include "NumberText.h"
#include "PictogramBitmap.h"
#include "RecordStatistics.h"
#include "ReportLabels.h"

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
// Rules and pictograms of continuation pages start a little lower than the header baseline.
constexpr double ContinuationGraphicsY = HeaderBaseline + 0.02;
// A page takes another record block only while it holds at most this many counted lines.
constexpr int PageLineLimit = 24;
constexpr int ReadingsPerLine = 8;
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

void PrintPageFooters(PageWriter& writer, const QString& printDate) {
    writer.SetFont(SongFace, 10);
    writer.SetBandBottom(FooterBottom);
    writer.PrintFooter(PageLabel(writer.PageNumber()), FooterAlign::Left);
    writer.PrintFooter(DateLabel(printDate), FooterAlign::Right);
    writer.SetBandBottom(BodyBottom);
}

class ReportBody {
  public:
    ReportBody(PageWriter& writer, char decimalSeparator, const QString& printDate)
        : writer_(writer), separator_(decimalSeparator), printDate_(printDate) {}

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
        PrintPageFooters(writer_, printDate_);
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
    }

    void ContinuationPage() {
        pageLineCount_ = 0;
        writer_.NewPage();
        writer_.SetBandTop(BandTop);
        writer_.SetFont(HeiFace, 24);
        writer_.SetBandLeft(BandLeft);
        writer_.SetBandRight(BandRight);
        writer_.Home();
        writer_.SetBaseline(TitleBaseline);
        writer_.PrintCentered(QCoreApplication::translate("ReportGenerator", "(续)"),
                              writer_.PageWidth() - ContinuationMarkFromRight);
        PrintPageFooters(writer_, printDate_);
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
        writer_.DrawBitmap(3.6, graphicsY_, 3.9, graphicsY_ + 0.3,
                           bitmap_.Load(PictogramForDirection(settings.ImpactDirection)));
        graphicsY_ += LinePitch;

        RecordStatistics statistics(OneDecimalScale(settings));
        std::string open;
        int readingLines = 0;
        for (std::size_t k = 0; k < fields.Readings.size(); ++k) {
            const double value = fields.Readings[k];
            const std::string text = FormatGeneral(value, separator_);
            statistics.Add(value);
            open += text + Blanks(5 - static_cast<int>(text.size())) + "   ";
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
        if (pageLineCount_ <= PageLineLimit) {
            BodyLine(" ");
        }
    }

    bool PageFull() const { return pageLineCount_ > PageLineLimit; }

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
    }

    PageWriter& writer_;
    char separator_;
    QString printDate_;
    PictogramBitmap bitmap_;
    double graphicsY_ = 0.0;
    int pageLineCount_ = 0;
};

}  // namespace

void ReportSystem1Print(PageWriter& writer, const RecordLines& lines, char decimalSeparator,
                        const QString& printDate) {
    ReportBody body(writer, decimalSeparator, printDate);
    body.FirstPageHeader();
    for (std::size_t r = 1; r < lines.size(); ++r) {
        const RecordTextFields fields = ReadRecord(lines, r, decimalSeparator);
        if (body.LongBlockNeedsNewPage(fields)) {
            body.ContinuationPage();
        }
        body.Record(r, fields);
        if (body.PageFull() && r + 1 < lines.size()) {
            body.ContinuationPage();
        }
    }
}

void CheckReportRecords(const RecordLines& lines, char decimalSeparator) {
    for (std::size_t r = 1; r < lines.size(); ++r) {
        ReadRecord(lines, r, decimalSeparator);
    }
}

}  // namespace leeb
