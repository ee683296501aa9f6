#include "ErrorText.h"

#include <QDir>
#include <cerrno>
#include <cstring>

#include "RecordFile.h"

namespace leeb {

namespace {

QString Native(const std::string& path) {
    return QDir::toNativeSeparators(QString::fromLocal8Bit(path));
}

QString FieldText(const FieldFault& fault) {
    if (fault.Problem == FieldProblem::NotText) {
        const QString byte =
            QString::number(fault.Byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        return ErrorText::tr("第 %1 列: 字节 0x%2 不是可打印的 ASCII 字符")
            .arg(fault.Column)
            .arg(byte);
    }
    const QString text = QStringLiteral("'%1'").arg(QString::fromLocal8Bit(fault.Text));
    const bool range = fault.Problem == FieldProblem::OutOfRange;
    switch (fault.Field) {
        case LineField::ImpactCount:
            return range ? ErrorText::tr("冲击次数 %1 不能是负数").arg(text)
                         : ErrorText::tr("冲击次数 %1 不是整数").arg(text);
        case LineField::SettingsWord:
            return range ? ErrorText::tr("设置字 %1 不在 0 到 65535 之间").arg(text)
                         : ErrorText::tr("设置字 %1 不是整数").arg(text);
        case LineField::Reading:
        case LineField::Line:
            break;
    }
    return ErrorText::tr("第 %1 个读数 %2 不是数值").arg(fault.ReadingNumber).arg(text);
}

QString FileText(const RecordFileError& error) {
    const QString path = Native(error.Path());
    const QString reason = ErrorText::SystemReason(error.SystemError());
    switch (error.Problem()) {
        case FileProblem::CannotOpen:
            return ErrorText::tr("无法打开文件 %1: %2").arg(path, reason);
        case FileProblem::IsAFolder:
            return ErrorText::tr("%1 是文件夹, 不是文件").arg(path);
        case FileProblem::CannotRead:
            return ErrorText::tr("无法读取文件 %1: %2").arg(path, reason);
        case FileProblem::NotARecordFile:
            return ErrorText::tr("%1 不是记录文件: 第一行不是 \"@Import Data@\"").arg(path);
        case FileProblem::LineTooLong:
            return ErrorText::tr("文件 %1 第 %2 行太长, 不是记录行")
                .arg(path)
                .arg(error.LineNumber());
        case FileProblem::LineDoesNotConvert: {
            const QString where = ErrorText::tr("文件 %1 第 %2 行 (存储记录%3) 无法转换")
                                      .arg(path)
                                      .arg(error.LineNumber())
                                      .arg(error.LineNumber() - 1);
            return error.Field() ? where + QStringLiteral(": ") + FieldText(*error.Field()) : where;
        }
        case FileProblem::CannotWrite:
            return ErrorText::tr("无法写入文件 %1: %2").arg(path, reason);
        case FileProblem::NotARegularFile:
            return ErrorText::tr("无法写入 %1: 它不是普通文件").arg(path);
        case FileProblem::Unspecified:
            break;
    }
    return QString::fromUtf8(error.what());
}

}  // namespace

QString ErrorText::Of(const std::exception& error) {
    if (const auto* conversion = dynamic_cast<const ConversionError*>(&error)) {
        if (conversion->Fault())
            return FieldText(*conversion->Fault());
    }
    if (const auto* file = dynamic_cast<const RecordFileError*>(&error)) {
        if (!file->Path().empty())
            return FileText(*file);
    }
    return QString::fromUtf8(error.what());
}

ErrorText::Refusal ErrorText::OpenRefusal(const RecordFileError& error, const QString& shownPath) {
    QString cause;
    switch (error.Problem()) {
        case FileProblem::NotARecordFile:
            cause = error.Blank() ? tr("文件是空的")
                                  : tr("第一行不是记录文件的文件头 \"%1\"")
                                        .arg(QString::fromLatin1(
                                            RecordFileHeader.data(),
                                            static_cast<qsizetype>(RecordFileHeader.size())));
            break;
        case FileProblem::LineDoesNotConvert:
            cause = error.Blank() ? tr("空行, 不是记录")
                                  : tr("记录无法转换 (%1)")
                                        .arg(error.Field() ? FieldText(*error.Field())
                                                           : QString::fromUtf8(error.what()));
            break;
        case FileProblem::LineTooLong:
            cause = tr("行太长, 不是记录行");
            break;
        default: {
            // Nothing wrong inside the file: it could not be read at all.
            const QString reason = error.SystemError() != 0 ? SystemReason(error.SystemError())
                                                            : QString::fromUtf8(error.what());
            return {tr("无法读取文件 %1\n(%2)").arg(shownPath, reason), tr("文件读取错误")};
        }
    }
    const QString line = QString::number(error.LineNumber());
    const QString where = tr("文件 %1 第 %2 行: %3").arg(shownPath, line, cause);
    // A file that is no record file at all is the wrong file; one with a bad line is the
    // right file with a fault in it, and the heading says where.
    const QString heading = error.Problem() == FileProblem::NotARecordFile
                                ? tr("文句格式不正确!\n请重新输入文件名......")
                                : tr("第 %1 行无法读取").arg(line);
    return {heading + QStringLiteral("\n\n") + where, tr("文件格式错误")};
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
