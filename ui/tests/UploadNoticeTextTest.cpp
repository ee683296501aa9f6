// The window's words for what an upload tells its user: moved out of the upload, they must
// stay the texts, captions and icons the window always showed.

#include <gtest/gtest.h>

#include "MessageBoxFlags.h"
#include "UploadNoticeText.h"

namespace leeb {
namespace {

UploadNotice Notice(UploadNoticeKind kind) {
    UploadNotice notice;
    notice.Kind = kind;
    return notice;
}

TEST(UploadNoticeTextTest, EachNoticeKeepsItsBox) {
    struct Case {
        UploadNoticeKind kind;
        const char* text;
        const char* caption;
        unsigned flags;
    };
    const Case cases[] = {
        {UploadNoticeKind::WriteFailed, "Write to USB Derive Error", "USB Error", MB_OK},
        {UploadNoticeKind::NoReply, "里氏硬度计无应答", "USB Error", MB_OK},
        {UploadNoticeKind::NoData, "里氏硬度计中没有数据", "无存储记录",
         MB_OK | MB_ICONINFORMATION},
    };
    for (const Case& c : cases) {
        const UploadNoticeBox box = UploadNoticeBoxOf(Notice(c.kind));
        EXPECT_EQ(box.Text, QString::fromUtf8(c.text));
        EXPECT_EQ(box.Caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(box.Flags, c.flags);
    }
}

TEST(UploadNoticeTextTest, ProtocolErrorNamesWhereItCame) {
    UploadNotice notice = Notice(UploadNoticeKind::ProtocolError);
    UploadProtocolError error;
    error.Fault = ReplyFault::ReadsDisagree;
    error.Record = 6;
    error.Chunk = 9;
    error.Received = 3;
    notice.Error = error;
    const UploadNoticeBox box = UploadNoticeBoxOf(notice);
    EXPECT_EQ(box.Caption, QStringLiteral("数据错误"));
    EXPECT_EQ(box.Flags, unsigned{MB_OK | MB_ICONERROR});
    EXPECT_TRUE(box.Text.contains(QStringLiteral("存储记录6读了 3 次"))) << box.Text.toStdString();
}

TEST(UploadNoticeTextTest, SkippedRecordNamesItsNumber) {
    UploadNotice notice = Notice(UploadNoticeKind::RecordSkipped);
    notice.Record = 3;
    const UploadNoticeBox box = UploadNoticeBoxOf(notice);
    EXPECT_EQ(box.Caption, QStringLiteral("错误"));
    EXPECT_EQ(box.Flags, unsigned{MB_OK | MB_ICONERROR});
    EXPECT_EQ(box.Text, QStringLiteral("存储记录3无法写成记录行，已略过"));
}

}  // namespace
}  // namespace leeb
