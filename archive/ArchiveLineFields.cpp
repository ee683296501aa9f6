#include "ArchiveLineFields.h"

#include <QCryptographicHash>
#include <charconv>
#include <cmath>

#include "RecordCsv.h"
#include "RecordView.h"

namespace leeb {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string ArchiveReadingText(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

ArchiveLineFields DeriveLineFields(const std::string& line) {
    ArchiveLineFields derived;
    // One-decimal readings convert with '.' or ','; the others are whole numbers.
    derived.Fields = ParseRecordLine(line, '.');
    const RecordTextFields& fields = derived.Fields;
    const RecordView view = RecordViewFromFields(fields);

    // The identity: the words as the tester stored them. Readings in tenths, so "045.3" and
    // "045,3" (a file saved with a comma) are the same record.
    std::string key = fields.DateText + '|' + std::to_string(fields.SettingsWord) + '|' +
                      std::to_string(fields.ImpactCount);
    double sum = 0;
    for (double reading : fields.Readings) {
        key += '|' + std::to_string(std::llround(reading * 10));
        if (!derived.Readings.empty())
            derived.Readings += ';';
        derived.Readings += ArchiveReadingText(reading);
        sum += reading;
    }
    derived.ContentKey = QCryptographicHash::hash(QByteArray::fromStdString(key),
                                                  QCryptographicHash::Sha1);
    derived.Mean = fields.Readings.empty() ? 0 : sum / static_cast<double>(fields.Readings.size());

    derived.RecordDate = fields.DateText;
    for (char& c : derived.RecordDate)
        if (c == '/')
            c = '-';
    derived.Material = Trimmed(MaterialText(view.Settings));
    derived.Scale = Trimmed(ScaleText(view.Settings));
    derived.Device = Trimmed(ImpactDeviceText(view.Settings));
    derived.Direction = Trimmed(ImpactDirectionText(view.Settings.ImpactDirection));
    return derived;
}

}  // namespace leeb
