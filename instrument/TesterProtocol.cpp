#include "TesterProtocol.h"

#include <algorithm>

namespace leeb {

TesterProtocol::TesterProtocol(const SimulatorRecordSet& records) : single_(records.Single) {
    for (const SimulatedRecord& record : records.Records) {
        images_[record.Number] = PackRecordImage(record.Record);
    }
}

std::optional<TesterProtocol::Reply> TesterProtocol::Answer(const uint8_t* report,
                                                            std::size_t size) {
    // Command bytes follow the report ID: 1 code, 2-3 record number.
    if (report == nullptr || size < 4) {
        return std::nullopt;
    }
    switch (report[1]) {
        case CountRequestCode:
            return CountReply();
        case ChunkRequestCode:
            return ChunkReply(report);
        default:
            return std::nullopt;
    }
}

TesterProtocol::Reply TesterProtocol::CountReply() const {
    // 0xA8, count high, count low; or 0xA8, 0xF0 | number bits 8-11, number low.
    Reply reply{};
    reply[0] = CountRequestCode;
    if (single_) {
        reply[1] = static_cast<uint8_t>(SingleRecordFlag | ((*single_ >> 8) & 0x0F));
        reply[2] = static_cast<uint8_t>(*single_ & 0xFF);
    } else {
        const int count = static_cast<int>(std::min<std::size_t>(images_.size(), MaxPlainCount));
        reply[1] = static_cast<uint8_t>(count >> 8);
        reply[2] = static_cast<uint8_t>(count & 0xFF);
    }
    return reply;
}

TesterProtocol::Reply TesterProtocol::ChunkReply(const uint8_t* report) {
    // The first chunk request of a record carries its number; the other eight carry 0.
    const int number = report[2] * 256 + report[3];
    if (number != 0) {
        const auto found = images_.find(number);
        current_ = found != images_.end() ? found->second : RecordImage{};
        nextChunk_ = 0;
    }
    Reply reply{};
    if (nextChunk_ < ChunksPerRecord) {
        std::copy_n(current_.begin() + static_cast<std::ptrdiff_t>(nextChunk_ * ChunkSize),
                    ChunkSize, reply.begin());
        ++nextChunk_;
    }
    return reply;
}

TesterProtocol::Reply TesterProtocol::AutoStartReply() {
    Reply reply{};
    std::copy(AutoStartFrame.begin(), AutoStartFrame.end(), reply.begin());
    return reply;
}

}  // namespace leeb
