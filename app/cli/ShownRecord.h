#pragma once
// One record of show as the window shows it when the record is selected: the record node, its
// readings and the detail panel's values, with the lab's evaluation.

#include <string>
#include <vector>

#include "RecordEvaluation.h"
#include "RecordView.h"

namespace leeb::cli {

struct ShownRecord {
    std::string Node;
    std::string RecordNumber;
    std::vector<double> Readings;  // display units
    RecordView View;
    EvaluationOptions Options;  // the record's limits and handling of invalid readings
    RecordEvaluation Evaluation;
};

}  // namespace leeb::cli
