#include "UploadProtocol.h"

namespace leeb {
namespace {

uint16_t WordAt(const RecordImage& image, std::size_t offset) {
    return static_cast<uint16_t>(image[offset] | (image[offset + 1] << 8));
}

void PutWord(RecordImage& image, std::size_t offset, uint16_t value) {
    image[offset] = static_cast<uint8_t>(value & 0xFF);
    image[offset + 1] = static_cast<uint8_t>(value >> 8);
}

constexpr uint16_t SubstituteReading = 888;
constexpr std::size_t LimitedPosition = 4;
constexpr uint16_t LimitedPositionMaximum = 1000;
// "%05.1f" of value / 10 must stay within five columns.
constexpr uint16_t OneDecimalLimit = 10000;

}  // namespace

MeasurementRecord UnpackRecordImage(const RecordImage& image) {
    MeasurementRecord record;
    for (std::size_t k = 0; k < MaxReadings; ++k) {
        record.Readings[k] = WordAt(image, 2 * k);
    }
    record.ImpactCount = WordAt(image, ImpactCountOffset);
    record.SettingsWord = WordAt(image, SettingsWordOffset);
    record.DateWord = WordAt(image, DateWordOffset);
    return record;
}

RecordImage PackRecordImage(const MeasurementRecord& record) {
    RecordImage image{};
    for (std::size_t k = 0; k < MaxReadings; ++k) {
        PutWord(image, 2 * k, record.Readings[k]);
    }
    PutWord(image, ImpactCountOffset, record.ImpactCount);
    PutWord(image, SettingsWordOffset, record.SettingsWord);
    PutWord(image, DateWordOffset, record.DateWord);
    return image;
}

uint16_t SubstitutedReading(uint16_t raw, std::size_t position, bool oneDecimal) {
    if (raw == 0) {
        return SubstituteReading;
    }
    if (position == LimitedPosition && raw > LimitedPositionMaximum) {
        return SubstituteReading;
    }
    if (oneDecimal && raw >= OneDecimalLimit) {
        return SubstituteReading;
    }
    return raw;
}

MeasurementRecord UploadedRecord(const RecordImage& image) {
    MeasurementRecord record = UnpackRecordImage(image);
    if (record.ImpactCount > MaxReadings) {
        record.ImpactCount = static_cast<uint16_t>(MaxReadings);
    }
    const bool oneDecimal = OneDecimalScale(DecodeSettingsWord(record.SettingsWord));
    for (std::size_t k = 0; k < record.ImpactCount; ++k) {
        record.Readings[k] = SubstitutedReading(record.Readings[k], k + 1, oneDecimal);
    }
    return record;
}

RecordRange RecordRangeFromCountReply(uint8_t high, uint8_t low) {
    if (high < SingleRecordFlag) {
        return {1, high * 256 + low};
    }
    const int number = (high & 0x0F) * 256 + low;
    return {number, number};
}

}  // namespace leeb
