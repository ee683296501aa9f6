#pragma once
// The tester's side of the wire: command frames, reply frames and the 72-byte record image,
// shared by the upload and by the tester simulator.

#include <array>
#include <cstddef>
#include <cstdint>

#include "MeasurementRecord.h"

namespace leeb {

// Command frames (output report, computer to tester); every further byte is 0:
//   byte 0     report ID 0
//   byte 1     0xA8 count request | 0xA9 chunk request
//   bytes 2-3  chunk request, first of a record: record number, high byte first;
//              second to ninth chunk: 0. A count request leaves them as the previous
//              command did.
//   byte 4     0
inline constexpr uint8_t CountRequestCode = 0xA8;
inline constexpr uint8_t ChunkRequestCode = 0xA9;

// Reply frames (data bytes of an input report, after the report ID):
//   count reply          0xA8, count high, count low
//   single-record reply  0xA8, 0xF0 | number bits 8-11, number low
//   chunk reply k        record image bytes 8(k-1) .. 8(k-1)+7
//   automatic start      'A' 'U' 'T' 'O'
inline constexpr uint8_t SingleRecordFlag = 0xF0;
inline constexpr int MaxPlainCount = 0xEFFF;
inline constexpr std::array<uint8_t, 4> AutoStartFrame = {0x41, 0x55, 0x54, 0x4F};

inline constexpr std::size_t ChunkSize = 8;
inline constexpr std::size_t ChunksPerRecord = 9;
inline constexpr std::size_t RecordImageSize = ChunkSize * ChunksPerRecord;  // 72
inline constexpr std::size_t MaxReplyBytes = 65;
inline constexpr std::size_t MaxReadings = 32;

// Record image, all words little-endian:
//   0-63   readings 1..32
//   64-65  ImpactCount
//   66-67  SettingsWord
//   68-69  DateWord
//   70-71  unused
using RecordImage = std::array<uint8_t, RecordImageSize>;

inline constexpr std::size_t ImpactCountOffset = 64;
inline constexpr std::size_t SettingsWordOffset = 66;
inline constexpr std::size_t DateWordOffset = 68;

// Raw fields of an image, nothing substituted or limited.
MeasurementRecord UnpackRecordImage(const RecordImage& image);
RecordImage PackRecordImage(const MeasurementRecord& record);

// The upload's reading substitutions: 0 -> 888; the fourth reading above 1000 -> 888; on a
// one-decimal scale a value that would not fit the record line's five columns (10000 or more)
// -> 888. `position` counts from 1.
uint16_t SubstitutedReading(uint16_t raw, std::size_t position, bool oneDecimal);

// A record as the upload keeps it: ImpactCount limited to 32 and every reading substituted.
MeasurementRecord UploadedRecord(const RecordImage& image);

// First and last record number named by the first reply of an upload (data bytes 1 and 2).
struct RecordRange {
    int First = 1;
    int Last = 0;
};
RecordRange RecordRangeFromCountReply(uint8_t high, uint8_t low);

}  // namespace leeb
