#include "SimulatorRecords.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <cmath>
#include <set>

#include "UploadProtocol.h"

namespace leeb {
namespace {

constexpr int MaxWord = 0xFFFF;
constexpr int MaxSingleNumber = 0x0FFF;

[[noreturn]] void Fail(const std::string& what) {
    throw SimulatorRecordsError(what);
}

int WordField(const QJsonValue& value, const std::string& where, int minimum, int maximum) {
    if (!value.isDouble()) {
        Fail(where + " is not a number");
    }
    const double number = value.toDouble();
    if (number != std::floor(number) || number < minimum || number > maximum) {
        Fail(where + " must be a whole number from " + std::to_string(minimum) + " to " +
             std::to_string(maximum));
    }
    return static_cast<int>(number);
}

SimulatedRecord ParseRecord(const QJsonValue& value, std::size_t index, int recordCount) {
    const std::string where = "record " + std::to_string(index + 1);
    if (!value.isObject()) {
        Fail(where + " is not an object");
    }
    const QJsonObject object = value.toObject();
    for (const char* key : {"count", "readings", "settings", "date"}) {
        if (!object.contains(QLatin1String(key))) {
            Fail(where + " has no \"" + key + "\"");
        }
    }
    SimulatedRecord record;
    record.Number =
        object.contains(QLatin1String("number"))
            ? WordField(object.value(QLatin1String("number")), where + " number", 1, MaxWord)
            : static_cast<int>(index + 1);
    if (record.Number > recordCount) {
        Fail(where + " has number " + std::to_string(record.Number) + ", outside 1 to " +
             std::to_string(recordCount) + ", the number of records");
    }
    record.Record.ImpactCount = static_cast<uint16_t>(
        WordField(object.value(QLatin1String("count")), where + " count", 0, MaxWord));
    record.Record.SettingsWord = static_cast<uint16_t>(
        WordField(object.value(QLatin1String("settings")), where + " settings", 0, MaxWord));
    record.Record.DateWord = static_cast<uint16_t>(
        WordField(object.value(QLatin1String("date")), where + " date", 0, MaxWord));
    const QJsonValue readings = object.value(QLatin1String("readings"));
    if (!readings.isArray()) {
        Fail(where + " readings is not a list");
    }
    const QJsonArray list = readings.toArray();
    if (static_cast<std::size_t>(list.size()) > MaxReadings) {
        Fail(where + " has more than 32 readings");
    }
    for (qsizetype k = 0; k < list.size(); ++k) {
        record.Record.Readings[static_cast<std::size_t>(k)] = static_cast<uint16_t>(
            WordField(list.at(k), where + " reading " + std::to_string(k + 1), 0, MaxWord));
    }
    return record;
}

}  // namespace

SimulatorRecordSet ParseSimulatorRecords(const std::string& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(json.data(), static_cast<qsizetype>(json.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        Fail("not valid JSON at offset " + std::to_string(error.offset) + ": " +
             error.errorString().toStdString());
    }
    if (!document.isObject()) {
        Fail("the top level is not an object");
    }
    const QJsonObject top = document.object();
    const QJsonValue records = top.value(QLatin1String("records"));
    if (!records.isArray()) {
        Fail("\"records\" is missing or not a list");
    }
    const QJsonArray list = records.toArray();
    if (list.size() > MaxPlainCount) {
        Fail("more than " + std::to_string(MaxPlainCount) + " records");
    }
    SimulatorRecordSet set;
    std::set<int> numbers;
    for (qsizetype i = 0; i < list.size(); ++i) {
        // The tester answers the count request with the number of records and is then asked
        // for 1 to that number: a record numbered outside would never be read, and the number
        // it leaves free would come back empty.
        SimulatedRecord record =
            ParseRecord(list.at(i), static_cast<std::size_t>(i), static_cast<int>(list.size()));
        if (!numbers.insert(record.Number).second) {
            Fail("record number " + std::to_string(record.Number) + " appears twice");
        }
        set.Records.push_back(record);
    }
    if (top.contains(QLatin1String("single"))) {
        const int single =
            WordField(top.value(QLatin1String("single")), "\"single\"", 1, MaxSingleNumber);
        if (numbers.count(single) == 0) {
            Fail("\"single\" names record " + std::to_string(single) +
                 ", which is not among the records");
        }
        set.Single = single;
    }
    if (top.contains(QLatin1String("unplug_after"))) {
        set.UnplugAfterCommands =
            WordField(top.value(QLatin1String("unplug_after")), "\"unplug_after\"", 0, MaxWord);
    }
    return set;
}

SimulatorRecordSet LoadSimulatorRecords(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        throw SimulatorRecordsError(path + ": " + file.errorString().toStdString());
    }
    const QByteArray content = file.readAll();
    try {
        return ParseSimulatorRecords(content.toStdString());
    } catch (const SimulatorRecordsError& error) {
        throw SimulatorRecordsError(path + ": " + error.what());
    }
}

}  // namespace leeb
