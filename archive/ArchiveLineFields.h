#pragma once
// What the archive derives from a record line: its identity and the texts the filters use.

#include <QByteArray>
#include <string>

#include "RecordFile.h"

namespace leeb {

struct ArchiveLineFields {
    RecordTextFields Fields;
    QByteArray ContentKey;  // SHA-1 of the date, settings word, count and readings (tenths)
    std::string RecordDate;  // "YYYY-MM-DD" from the date word's text
    std::string Readings;    // the readings in display units, ";"-separated, '.' decimal
    double Mean = 0;         // unrounded
    std::string Material, Scale, Device, Direction;  // trimmed, as the window shows them
};

// Throws ConversionError for a line that does not convert, as the record file reader does.
ArchiveLineFields DeriveLineFields(const std::string& line);

// The text of a reading in display units, shortest form ("45.2", "450").
std::string ArchiveReadingText(double value);

}  // namespace leeb
