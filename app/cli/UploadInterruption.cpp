#include "UploadInterruption.h"

#include <cstdio>

namespace leeb::cli {

namespace {

// "存储记录12 的第 3 段" / "record 12, reply 3 of 9"; the count request when no record was asked.
struct Where {
    std::string Chinese;
    std::string English;
};

Where Place(const UploadProtocolError& error) {
    if (error.Record == 0) {
        return {"记录数应答", "the reply to the count request"};
    }
    const std::string record = std::to_string(error.Record);
    const std::string chunk = std::to_string(error.Chunk);
    return {"存储记录" + record + " 的第 " + chunk + " 段应答",
            "record " + record + ", reply " + chunk + " of 9"};
}

std::string Hex(std::size_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value & 0xFF));
    return text;
}

std::string ProtocolReason(const UploadProtocolError& error) {
    const Where where = Place(error);
    const std::string received = std::to_string(error.Received);
    const std::string expected = std::to_string(error.Expected);
    std::string chinese;
    std::string english;
    switch (error.Fault) {
        case ReplyFault::UnexpectedReport:
            chinese = "等待" + where.Chinese + "时收到了未请求的数据";
            english = "a report arrived that no command had asked for, before " + where.English;
            break;
        case ReplyFault::WrongLength:
            chinese =
                where.Chinese + "长度错误：收到 " + received + " 字节，应为 " + expected + " 字节";
            english = where.English + " has " + received + " data bytes instead of " + expected;
            break;
        case ReplyFault::NotACountReply:
            chinese = where.Chinese + "不是记录数：首字节为 " + Hex(error.Received) + "，应为 " +
                      Hex(error.Expected);
            english = where.English + " is not a count: its first byte is " + Hex(error.Received) +
                      ", not " + Hex(error.Expected);
            break;
        case ReplyFault::ReadsDisagree:
            chinese = "存储记录" + std::to_string(error.Record) + "读了 " + received +
                      " 次，没有两次相同";
            english = "record " + std::to_string(error.Record) + " was read " + received +
                      " times and no two reads agreed";
            break;
    }
    return "数据错误：" + chinese + "。(Data error: " + english + ".)";
}

std::string NoticeText(const UploadNotice& notice) {
    if (notice.Kind == UploadNoticeKind::RecordSkipped) {
        const std::string record = std::to_string(notice.Record);
        return "存储记录" + record + "无法写成记录行，已略过。(Record " + record +
               " cannot be written as a record line and was left out.)";
    }
    return "Write to USB Derive Error";
}

}  // namespace

std::string InterruptionReason(const HeadlessUploadResult& result) {
    std::string reason;
    switch (result.Outcome) {
        case UploadOutcome::TimedOut:
            reason = "里氏硬度计无应答。(The hardness tester did not reply.)";
            break;
        case UploadOutcome::Unplugged:
            reason =
                "上传时里氏硬度计被拔出。(The hardness tester was unplugged during the upload.)";
            break;
        case UploadOutcome::ProtocolError:
            reason = result.Error ? ProtocolReason(*result.Error) : "数据错误。(Data error.)";
            break;
        default:
            reason = "上传未完成。(The upload did not finish.)";
            break;
    }
    // A failed write comes before the time-out it leads to, and explains it.
    for (const UploadNotice& notice : result.Notices) {
        reason += " " + NoticeText(notice);
    }
    return reason;
}

}  // namespace leeb::cli
