#pragma once
// The CSV columns the quality settings add after the plain table's: the number of invalid
// readings; with invalid readings excluded, the statistics in use ("有效…"); with limits, the
// record's limits and the verdict of its mean. Nothing set adds nothing.

#include <string>
#include <vector>

#include "QualitySettings.h"
#include "RecordCsvTexts.h"
#include "RecordFile.h"

namespace leeb {

std::vector<std::string> QualityCsvHeader(const QualitySettings& quality,
                                          const RecordCsvTexts& texts);

std::vector<std::string> QualityCsvFields(const RecordTextFields& fields,
                                          const QualitySettings& quality, char decimalSeparator,
                                          const RecordCsvTexts& texts);

}  // namespace leeb
