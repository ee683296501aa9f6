#include "UploadNoticeText.h"

#include <QCoreApplication>
#include <QStringList>

#include "MessageBoxFlags.h"
#include "ProtocolErrorText.h"

namespace leeb {
// The texts keep the context they had when the upload showed them itself, so their
// translations stay where they are; lupdate finds them only as literal translate() calls.

UploadNoticeBox UploadNoticeBoxOf(const UploadNotice& notice) {
    switch (notice.Kind) {
        case UploadNoticeKind::WriteFailed:
            return {QCoreApplication::translate("RecordUpload", "Write to USB Derive Error"),
                    QCoreApplication::translate("RecordUpload", "USB Error"), MB_OK};
        case UploadNoticeKind::NoReply:
            return {QCoreApplication::translate("RecordUpload", "里氏硬度计无应答"),
                    QCoreApplication::translate("RecordUpload", "USB Error"), MB_OK};
        case UploadNoticeKind::NoData:
            return {QCoreApplication::translate("RecordUpload", "里氏硬度计中没有数据"),
                    QCoreApplication::translate("RecordUpload", "无存储记录"),
                    MB_OK | MB_ICONINFORMATION};
        case UploadNoticeKind::RecordSkipped:
            // Only a value outside its columns keeps a record from its line; the record
            // number tells the user which one to look at on the tester.
            return {QCoreApplication::translate("RecordUpload", "存储记录%1无法写成记录行，已略过")
                        .arg(notice.Record),
                    QCoreApplication::translate("RecordUpload", "错误"), MB_OK | MB_ICONERROR};
        case UploadNoticeKind::DamagedRecords: {
            QStringList lines;
            for (const DamagedRecord& damaged : notice.Damaged) {
                lines << QCoreApplication::translate("RecordUpload", "记录 %1 已损坏: 冲击次数 %2")
                             .arg(damaged.Record)
                             .arg(damaged.ImpactCount);
            }
            return {lines.join(QLatin1Char('\n')),
                    QCoreApplication::translate("RecordUpload", "记录已损坏"),
                    MB_OK | MB_ICONERROR};
        }
        case UploadNoticeKind::ProtocolError:
            break;
    }
    return {notice.Error ? ProtocolErrorText(*notice.Error) : QString(), ProtocolErrorCaption(),
            MB_OK | MB_ICONERROR};
}

}  // namespace leeb
