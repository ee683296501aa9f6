#include "ArchiveFilterNames.h"

#include <QString>
#include <vector>

#include "CliArguments.h"
#include "CliSupport.h"
#include "CodeTableText.h"
#include "MeasurementRecord.h"

namespace leeb::cli {
namespace {

// A name as the archive keeps it (trimmed, ArchiveLineFields) and as the window shows it.
struct Name {
    QString Kept;
    QString English;
};

template <std::size_t N>
void AddNames(std::vector<Name>& names, const std::array<const char*, N>& table) {
    for (const char* entry : table) {
        const QString kept = QString::fromUtf8(entry).trimmed();
        bool seen = false;
        for (const Name& name : names)
            seen = seen || name.Kept == kept;
        if (!seen)
            names.push_back({kept, kept});
    }
}

// "?12": what the window shows for a code outside its tables, and so what the archive keeps.
bool UnknownCodeName(const QString& text) {
    if (text.size() < 2 || text.front() != QLatin1Char('?'))
        return false;
    bool number = false;
    text.mid(1).toInt(&number);
    return number;
}

std::string Chosen(const std::string& option, const std::string& value,
                   const std::vector<Name>& names) {
    const QString given = QString::fromStdString(value).trimmed();
    if (UnknownCodeName(given))
        return given.toStdString();
    for (const Name& name : names) {
        if (given.compare(name.Kept, Qt::CaseInsensitive) == 0 ||
            given.compare(name.English, Qt::CaseInsensitive) == 0)
            return name.Kept.toStdString();
    }
    QString chinese, english;
    for (const Name& name : names) {
        chinese += (chinese.isEmpty() ? QString() : QStringLiteral("、")) + name.Kept;
        english += (english.isEmpty() ? QString() : QStringLiteral(", ")) + name.English;
    }
    const std::string shown = "\"" + TerminalSafe(value, Backslash::Kept) + "\"";
    throw UsageError(option + " 不认识 " + shown + "，可用：" + chinese.toStdString() + "。(" +
                     option + " does not know " + shown + "; it takes " + english.toStdString() +
                     ".)");
}

}  // namespace

std::string ArchiveMaterialFilter(const std::string& value) {
    std::vector<Name> names;
    AddNames(names, MaterialNames);
    AddNames(names, StrengthMaterialNames);
    InWindowEnglish([&names] {
        for (Name& name : names)
            name.English = CodeTableText(name.Kept.toStdString());
    });
    return Chosen("--material", value, names);
}

std::string ArchiveScaleFilter(const std::string& value) {
    // Strength records have no scale: the window shows the sigma-b sign in its place.
    if (QString::fromStdString(value).trimmed() == QStringLiteral("σb"))
        return {};
    std::vector<Name> names;
    AddNames(names, ScaleNames);
    return Chosen("--scale", value, names);
}

std::string ArchiveDeviceFilter(const std::string& value) {
    std::vector<Name> names;
    AddNames(names, ImpactDeviceNames);
    return Chosen("--device", value, names);
}

}  // namespace leeb::cli
