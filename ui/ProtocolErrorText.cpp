#include "ProtocolErrorText.h"

#include <QCoreApplication>

namespace leeb {

namespace {

// Where in the upload the report came: the count request, or reply k of a record.
QString Place(const UploadProtocolError& error) {
    if (error.Record == 0)
        return QCoreApplication::translate("ProtocolErrorText", "记录数应答");
    return QCoreApplication::translate("ProtocolErrorText", "存储记录%1的第%2段应答")
        .arg(error.Record)
        .arg(error.Chunk);
}

QString Hex(std::size_t value) {
    return QStringLiteral("0x") + QString::number(static_cast<uint>(value & 0xFF), 16)
                                      .rightJustified(2, QLatin1Char('0'))
                                      .toUpper();
}

QString Cause(const UploadProtocolError& error) {
    switch (error.Fault) {
        case ReplyFault::UnexpectedReport:
            return QCoreApplication::translate("ProtocolErrorText", "等待%1时收到了未请求的数据")
                .arg(Place(error));
        case ReplyFault::WrongLength:
            return QCoreApplication::translate("ProtocolErrorText",
                                               "%1长度错误：收到 %2 字节，应为 %3 字节")
                .arg(Place(error))
                .arg(error.Received)
                .arg(error.Expected);
        case ReplyFault::NotACountReply:
            return QCoreApplication::translate("ProtocolErrorText", "%1不是记录数（首字节 %2）")
                .arg(Place(error), Hex(error.Received));
        case ReplyFault::ReadsDisagree:
            return QCoreApplication::translate("ProtocolErrorText",
                                               "存储记录%1读了 %2 次，没有两次相同")
                .arg(error.Record)
                .arg(error.Received);
    }
    return {};
}

}  // namespace

QString ProtocolErrorCaption() {
    return QCoreApplication::translate("ProtocolErrorText", "数据错误");
}

QString ProtocolErrorText(const UploadProtocolError& error) {
    return QCoreApplication::translate(
               "ProtocolErrorText",
               "硬度计发来的数据有误：%1。\n上传已停止，之前读入的 %2 条记录已保留。")
        .arg(Cause(error))
        .arg(error.RecordsKept);
}

}  // namespace leeb
