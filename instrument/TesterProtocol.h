#pragma once
// The tester's answers to the upload's commands, without any transport: what a simulated
// tester sends back for one output report.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>

#include "SimulatorRecords.h"
#include "UploadProtocol.h"

namespace leeb {

class TesterProtocol {
  public:
    // Data bytes of one reply; the transport pads them to the input report's length.
    using Reply = std::array<uint8_t, ChunkSize>;

    explicit TesterProtocol(const SimulatorRecordSet& records);

    // The reply to an output report (byte 0 is the report ID), or none for a command the
    // tester does not know or a report too short to hold one.
    std::optional<Reply> Answer(const uint8_t* report, std::size_t size);

    static Reply AutoStartReply();

    std::size_t RecordCount() const { return images_.size(); }

  private:
    Reply CountReply() const;
    Reply ChunkReply(const uint8_t* report);

    std::map<int, RecordImage> images_;
    std::optional<int> single_;
    // The record being sent and the next of its nine chunks; past the ninth, chunks are 0.
    RecordImage current_{};
    std::size_t nextChunk_ = ChunksPerRecord;
};

}  // namespace leeb
