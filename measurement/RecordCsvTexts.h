#pragma once
// The words of the CSV table: its column headers and the names written into its cells. Chinese
// by default, the table as it has always been written; a layer that shows the interface in
// another language fills them from its translation (the headers are marked for the translation
// tools under "RecordCsv", the cell names are the code tables' own under "CodeTables").

#include <functional>
#include <string>

#include "TranslationMarks.h"

namespace leeb {

struct RecordCsvTexts {
    // The plain table's headers. In Reading, "%1" stands for the reading's number.
    std::string RecordNumber = QT_TRANSLATE_NOOP("RecordCsv", "记录号");
    std::string Date = QT_TRANSLATE_NOOP("RecordCsv", "测量日期");
    std::string Material = QT_TRANSLATE_NOOP("RecordCsv", "测量材料");
    std::string Scale = QT_TRANSLATE_NOOP("RecordCsv", "硬度制/强度");
    std::string ImpactDevice = QT_TRANSLATE_NOOP("RecordCsv", "冲击装置");
    std::string ImpactDirection = QT_TRANSLATE_NOOP("RecordCsv", "冲击方向");
    std::string ImpactCount = QT_TRANSLATE_NOOP("RecordCsv", "冲击次数");
    std::string Reading = QT_TRANSLATE_NOOP("RecordCsv", "读数%1");
    std::string Maximum = QT_TRANSLATE_NOOP("RecordCsv", "最大值");
    std::string Minimum = QT_TRANSLATE_NOOP("RecordCsv", "最小值");
    std::string Mean = QT_TRANSLATE_NOOP("RecordCsv", "平均值");
    std::string Deviation = QT_TRANSLATE_NOOP("RecordCsv", "标准偏差");
    std::string Range = QT_TRANSLATE_NOOP("RecordCsv", "极差");
    // The headers the quality settings add.
    std::string InvalidCount = QT_TRANSLATE_NOOP("RecordCsv", "无效读数");
    std::string UsedCount = QT_TRANSLATE_NOOP("RecordCsv", "有效读数数");
    std::string UsedMaximum = QT_TRANSLATE_NOOP("RecordCsv", "有效最大值");
    std::string UsedMinimum = QT_TRANSLATE_NOOP("RecordCsv", "有效最小值");
    std::string UsedMean = QT_TRANSLATE_NOOP("RecordCsv", "有效平均值");
    std::string UsedDeviation = QT_TRANSLATE_NOOP("RecordCsv", "有效标准偏差");
    std::string UsedRange = QT_TRANSLATE_NOOP("RecordCsv", "有效极差");
    std::string Lower = QT_TRANSLATE_NOOP("RecordCsv", "下限");
    std::string Upper = QT_TRANSLATE_NOOP("RecordCsv", "上限");
    std::string Verdict = QT_TRANSLATE_NOOP("RecordCsv", "判定");

    // A code-table name (material, "强度", impact direction, verdict) as a cell shows it;
    // empty writes the names as the tables give them.
    std::function<std::string(const std::string&)> Name;

    // "读数%1" with the number put in.
    std::string ReadingHeader(std::size_t number) const;
    std::string NameOf(const std::string& name) const { return Name ? Name(name) : name; }
};

}  // namespace leeb
