#include "RecordSelectionText.h"

namespace leeb {

QString RecordSelectionText::Of(const RecordSelectionResult& result, std::size_t recordCount) {
    using Problem = RecordSelectionResult::Problem;
    const QString item = QLatin1Char('"') + QString::fromStdString(result.Item) + QLatin1Char('"');
    const QString last = QString::number(recordCount);
    switch (result.Error) {
        case Problem::None:
            return {};
        case Problem::Empty:
            return tr("没有选择任何记录。(No record chosen; write numbers and ranges like 1-5,9.)");
        case Problem::NotANumber:
            return tr("记录选择 %1 不是记录号或范围。(%1 is not a record number or a range like "
                      "1-5.)")
                .arg(item);
        case Problem::Zero:
            return tr("记录号从 1 开始。(Record numbers start at 1: %1.)").arg(item);
        case Problem::Descending:
            return tr("范围 %1 的起点大于终点。(The range %1 runs backwards.)").arg(item);
        case Problem::BeyondLast:
            return tr("记录选择 %1 超出最后一条记录 %2。(%1 goes past the last record, %2.)")
                .arg(item, last);
    }
    return {};
}

}  // namespace leeb
