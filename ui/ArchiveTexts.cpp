#include "ArchiveTexts.h"

#include <QCoreApplication>

namespace leeb {

QString ArchiveFailureText(const ArchiveFailure& failure) {
    const QString detail = QString::fromStdString(failure.Detail);
    if (!failure.FromArchive)
        return QCoreApplication::translate("Archive", "记录无法存入档案: %1").arg(detail);
    switch (failure.Code) {
        case ArchiveErrorCode::CannotOpen:
            return QCoreApplication::translate("Archive", "无法打开档案: %1").arg(detail);
        case ArchiveErrorCode::NotAnArchive:
            return QCoreApplication::translate("Archive", "不是 leebdesk 档案或文件已损坏, 未改动: %1").arg(detail);
        case ArchiveErrorCode::NewerSchema:
            return QCoreApplication::translate("Archive", "档案由较新版本的 leebdesk 写成, 未改动。");
        case ArchiveErrorCode::WriteFailed:
            return QCoreApplication::translate("Archive", "写入档案失败, 档案未改动: %1").arg(detail);
        case ArchiveErrorCode::ConnectionLost:
            return QCoreApplication::translate("Archive", "与档案服务器的连接中断, 未写入任何记录: %1").arg(detail);
        case ArchiveErrorCode::NoSuchRecord:
            return QCoreApplication::translate("Archive", "档案中没有这条记录: %1").arg(detail);
        case ArchiveErrorCode::Unsupported:
            return QCoreApplication::translate("Archive", "档案不支持这项操作: %1").arg(detail);
        case ArchiveErrorCode::OutputIsArchive:
            return QCoreApplication::translate("Archive", "输出文件是档案本身或正在使用的档案, 不能覆盖: %1").arg(detail);
        case ArchiveErrorCode::BadLocation:
            return QCoreApplication::translate("Archive", "档案位置无法使用: %1").arg(detail);
        case ArchiveErrorCode::NoArchive:
            return QCoreApplication::translate("Archive", "没有这个档案, 未新建: %1").arg(detail);
        case ArchiveErrorCode::ReadOnly:
            return QCoreApplication::translate("Archive", "没有写入档案的权限, 未改动: %1").arg(detail);
    }
    return detail;
}

QString ArchiveImportText(const ArchiveImportSummary& summary) {
    if (summary.Amended > 0)
        return QCoreApplication::translate("Archive", "%1 条新记录, %2 条已在档案中, 其中 %3 条更新了信息")
            .arg(summary.Added)
            .arg(summary.AlreadyArchived)
            .arg(summary.Amended);
    return QCoreApplication::translate("Archive", "%1 条新记录, %2 条已在档案中").arg(summary.Added).arg(summary.AlreadyArchived);
}

QString ArchiveUploadText(int read, const ArchiveImportSummary& summary) {
    return QCoreApplication::translate("Archive", "已读入 %1 条记录; 档案: %2 条新记录, %3 条已在档案中").arg(read).arg(summary.Added).arg(summary.AlreadyArchived);
}

QString ArchiveNotArchivedText(int notArchived, const QString& reason) {
    return QCoreApplication::translate("Archive", "%1 条记录未能存入档案。记录仍在窗口中: 请保存为记录文件, 以后再导入档案。\n%2").arg(notArchived).arg(reason);
}

QString ArchivePendingText(int64_t pending) {
    return QCoreApplication::translate("Archive", "%1 条记录等待发送到档案服务器").arg(pending);
}

QString ArchiveVerdictText(ArchiveVerdict verdict) {
    switch (verdict) {
        case ArchiveVerdict::Pass:
            return QCoreApplication::translate("Archive", "合格");
        case ArchiveVerdict::Fail:
            return QCoreApplication::translate("Archive", "不合格");
        case ArchiveVerdict::NoLimits:
            return QCoreApplication::translate("Archive", "无限值");
    }
    return {};
}

}  // namespace leeb
