#include "ErrorText.h"

#include <QDir>
#include <cerrno>
#include <cstring>

#include "RecordFile.h"

namespace leeb {

namespace {

QString ConversionCause(const ConversionError& error) {
    const QString field = QString::fromStdString(error.Field());
    switch (error.What()) {
        case ConversionError::Expected::Integer:
            return ErrorText::tr("%1 不是有效的整数").arg(field);
        case ConversionError::Expected::Real:
            return ErrorText::tr("%1 不是有效的数值").arg(field);
        case ConversionError::Expected::ImpactCount:
            return ErrorText::tr("%1 不是有效的冲击次数 (0 到 32)").arg(field);
        case ConversionError::Expected::SettingsWord:
            return ErrorText::tr("%1 不是有效的设置字 (0 到 65535)").arg(field);
        case ConversionError::Expected::Unknown:
            break;
    }
    return QString::fromUtf8(error.what());
}

QString ConversionText(const ConversionError& error, const QString& recordFile) {
    const QString cause = ConversionCause(error);
    const int index = error.LineIndex();
    if (index < 0)
        return cause;
    // Line index r of RecordLines is line r + 1 of the file (line 1 is the header) and holds
    // record r.
    if (recordFile.isEmpty())
        return ErrorText::tr("存储记录%1 无法转换: %2").arg(index).arg(cause);
    return ErrorText::tr("文件 %1 第 %2 行 (存储记录%3) 无法转换: %4")
        .arg(QDir::toNativeSeparators(recordFile))
        .arg(index + 1)
        .arg(index)
        .arg(cause);
}

QString FileText(const RecordFileError& error) {
    if (error.Path().empty())
        return QString::fromUtf8(error.what());
    const QString path = QDir::toNativeSeparators(QString::fromLocal8Bit(error.Path()));
    const QString reason = ErrorText::SystemReason(error.ErrorNumber());
    return error.Failed() == RecordFileError::Operation::Read
               ? ErrorText::tr("无法读取文件 %1: %2").arg(path, reason)
               : ErrorText::tr("无法写入文件 %1: %2").arg(path, reason);
}

}  // namespace

QString ErrorText::Of(const std::exception& error, const QString& recordFile) {
    if (const auto* conversion = dynamic_cast<const ConversionError*>(&error))
        return ConversionText(*conversion, recordFile);
    if (const auto* file = dynamic_cast<const RecordFileError*>(&error))
        return FileText(*file);
    return QString::fromUtf8(error.what());
}

QString ErrorText::SystemReason(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return tr("文件或文件夹不存在");
        case EACCES:
        case EPERM:
            return tr("没有权限");
        case ENOSPC:
            return tr("磁盘已满");
        case EROFS:
            return tr("只读的文件系统");
        case EISDIR:
            return tr("这是一个文件夹");
        case ENOTDIR:
            return tr("路径中有一部分不是文件夹");
        case EFBIG:
            return tr("文件太大");
        case ENAMETOOLONG:
            return tr("文件名太长");
        case EIO:
            return tr("输入/输出错误");
#ifdef ELOOP
        case ELOOP:
            return tr("符号链接太多层或成环");
#endif
#ifdef EDQUOT
        case EDQUOT:
            return tr("超出磁盘配额");
#endif
        default:
            return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

}  // namespace leeb
