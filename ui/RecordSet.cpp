#include "RecordSet.h"

#include <QFile>

namespace leeb {

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

RecordSet::Record RecordOf(int number, int lineIndex, const RecordTextFields& fields) {
    return {number, lineIndex, static_cast<int>(fields.Readings.size()), fields.DateText};
}

}  // namespace

RecordSet::Contents RecordSet::ReadFile(const std::string& path, char decimalSeparator) {
    Contents contents;
    contents.Lines.emplace_back(RecordFileHeader);
    ReadRecordFileRecords(
        path, decimalSeparator,
        [&contents](std::size_t lineIndex, std::string_view line, const RecordTextFields& fields) {
            contents.Lines.emplace_back(line);
            const int index = static_cast<int>(lineIndex);
            contents.Records.push_back(RecordOf(index, index, fields));
        });
    return contents;
}

void RecordSet::Tell(Change change) {
    for (const Listener& listener : listeners_) {
        listener(change);
    }
}

void RecordSet::Replace(Contents contents, const QString& file) {
    lines_ = std::move(contents.Lines);
    records_ = std::move(contents.Records);
    file_ = file;
    unsaved_ = false;
    Tell(Change::Replaced);
}

void RecordSet::ReadBackLines() {
    records_.clear();
    records_.reserve(lines_.empty() ? 0 : lines_.size() - 1);
    // Told also when a line stops it: the records before that line are there to be shown.
    struct TellOnExit {
        RecordSet& set;
        ~TellOnExit() { set.Tell(Change::Replaced); }
    } tell{*this};
    for (std::size_t r = 1; r < lines_.size(); ++r) {
        const int number = static_cast<int>(r);
        records_.push_back(RecordOf(number, number, ParseRecordLine(lines_[r], decimalSeparator_)));
    }
}

void RecordSet::BeginUpload() {
    records_.clear();
    file_.clear();
    unsaved_ = false;
    Tell(Change::Replaced);
}

void RecordSet::RecordUploaded(int number, int lineIndex, const RecordTextFields& fields,
                               int damagedImpactCount) {
    records_.push_back(RecordOf(number, lineIndex, fields));
    records_.back().DamagedImpactCount = damagedImpactCount;
    unsaved_ = true;
    Tell(Change::Appended);
}

void RecordSet::Clear() {
    lines_.clear();
    records_.clear();
    unsaved_ = false;
}

void RecordSet::SaveAs(const QString& path) {
    WriteRecordFile(LocalPath(path), lines_);
    unsaved_ = false;
    file_ = path;
    Tell(Change::Saved);
}

void RecordSet::ExportCsv(const QString& path, const RecordCsvOptions& options) const {
    RecordCsvOptions numbered = options;
    numbered.DecimalSeparator = decimalSeparator_;
    numbered.RecordNumbers = NumbersByLine();
    WriteRecordCsv(LocalPath(path), lines_, numbered);
}

std::vector<long> RecordSet::NumbersByLine() const {
    std::vector<long> numbers(lines_.empty() ? 0 : lines_.size() - 1);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        numbers[i] = static_cast<long>(i + 1);
    }
    for (const Record& record : records_) {
        if (record.LineIndex >= 1 && static_cast<std::size_t>(record.LineIndex) <= numbers.size()) {
            numbers[static_cast<std::size_t>(record.LineIndex) - 1] = record.Number;
        }
    }
    return numbers;
}

}  // namespace leeb
