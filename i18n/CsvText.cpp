#include "CsvText.h"

#include <QCoreApplication>

#include "CodeTableText.h"

namespace leeb {

RecordCsvTexts TranslatedCsvTexts() {
    RecordCsvTexts texts;
    for (std::string* header : {&texts.RecordNumber,  &texts.Date,         &texts.Material,
                                &texts.Scale,         &texts.ImpactDevice, &texts.ImpactDirection,
                                &texts.ImpactCount,   &texts.Reading,      &texts.Maximum,
                                &texts.Minimum,       &texts.Mean,         &texts.Deviation,
                                &texts.Range,         &texts.InvalidCount, &texts.UsedCount,
                                &texts.UsedMaximum,   &texts.UsedMinimum,  &texts.UsedMean,
                                &texts.UsedDeviation, &texts.UsedRange,    &texts.Lower,
                                &texts.Upper,         &texts.Verdict}) {
        *header = QCoreApplication::translate("RecordCsv", header->c_str()).toStdString();
    }
    texts.Name = [](const std::string& name) { return CodeTableText(name).toStdString(); };
    return texts;
}

}  // namespace leeb
