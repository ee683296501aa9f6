// Faults of the local archive file: a foreign or damaged file, a disk that fills mid-import.

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <fstream>
#include <sstream>

#include "ArchiveTestSupport.h"
#include "FileSizeLimit.h"

namespace leeb::testing {
namespace {

std::string Content(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ArchiveErrorCode OpenError(const ArchiveLocation& location) {
    try {
        OpenArchive(location);
    } catch (const ArchiveError& error) {
        return error.Code;
    }
    ADD_FAILURE() << "opened";
    return ArchiveErrorCode::CannotOpen;
}

TEST(ArchiveFile, ForeignOrDamagedFilesAreRefusedAndNeverWritten) {
    TempFolder folder;
    // A record file, an archive with its header broken, and another program's SQLite database.
    const auto text = folder.Path() / "records.txt";
    std::ofstream(text, std::ios::binary) << "@Import Data@\r\n";
    const auto damaged = folder.Path() / "damaged.sqlite";
    {
        SqlArchive archive({damaged.string()});
        archive.Import(FileSource("a.txt"), Inputs({Line(14, 0, {450})}), {}, "");
    }
    {
        std::fstream patch(damaged, std::ios::binary | std::ios::in | std::ios::out);
        patch.seekp(3);
        patch << "XXXX";
    }
    const auto foreign = folder.Path() / "foreign.sqlite";
    {
        auto db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        db.setDatabaseName(QString::fromStdString(foreign.string()));
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec("CREATE TABLE other (x INTEGER)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("foreign");
    for (const auto& path : {text, damaged, foreign}) {
        const std::string before = Content(path);
        EXPECT_EQ(OpenError({path.string()}), ArchiveErrorCode::NotAnArchive) << path;
        EXPECT_TRUE(Content(path) == before) << path << " was changed";
    }
}

TEST(ArchiveFile, FullDiskFailsTheImportAndKeepsWhatItHeld) {
    ArchivePlace place(Backend::Sqlite);
    auto archive = OpenArchive(place.Location());
    archive->Import(FileSource("a.txt"), Inputs({Line(14, 0, {450, 451})}), {}, "");
    std::vector<std::string> many;
    for (int i = 0; i < 5000; ++i)
        many.push_back(Line(1 + i % 28, 0, {static_cast<uint16_t>(100 + i % 800), 200, 300}));
    {
        const auto size = std::filesystem::file_size(place.Location().Text);
        FileSizeLimit limit(size + 64 * 1024);
        try {
            archive->Import(FileSource("big.txt"), Inputs(many), {}, "");
            FAIL() << "the import fitted";
        } catch (const ArchiveError& error) {
            EXPECT_EQ(error.Code, ArchiveErrorCode::WriteFailed);
        }
    }
    archive.reset();
    auto reopened = OpenArchive(place.Location());
    EXPECT_TRUE(reopened->Check().empty());
    EXPECT_EQ(reopened->Count({}), 1);
}

}  // namespace
}  // namespace leeb::testing
