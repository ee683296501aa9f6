// The archive's behaviours, one table run against every backend: SQLite always, PostgreSQL
// when LEEBDESK_TEST_POSTGRES names a server (scripts/test starts one and always sets it).

#include <gtest/gtest.h>

#include <QSqlQuery>

#include "ArchiveLineFields.h"
#include "ArchiveTestSupport.h"

namespace leeb::testing {
namespace {

class ArchiveBehaviour : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override {
        if (!place_.Available())
            GTEST_SKIP() << PostgresVariable << " names no server: PostgreSQL cases skipped";
        archive_ = OpenArchive(place_.Location());
    }
    ArchivePlace place_{GetParam()};
    std::unique_ptr<Archive> archive_;
};

// Steel (material 0), HL, device D, direction 0; a second material for the filters.
const std::string A = Line(14, 0x0000, {450, 452, 448});
const std::string B = Line(15, 0x0000, {500, 501});
const std::string C = Line(16, 0x0100, {300, 310, 320});

TEST_P(ArchiveBehaviour, SameRecordIsStoredOncePerOccurrence) {
    // A source holding A twice keeps both; importing it again, or another source that holds
    // the same records (a file saved from the upload), adds nothing.
    const auto first = archive_->Import(UploadSource(), Inputs({A, B, A}), {}, "");
    EXPECT_EQ(first.Added, 3);
    EXPECT_EQ(first.AlreadyArchived, 0);
    const auto again = archive_->Import(FileSource("saved.txt"), Inputs({A, A, B}), {}, "");
    EXPECT_EQ(again.Added, 0);
    EXPECT_EQ(again.AlreadyArchived, 3);
    // A third copy is new.
    const auto third = archive_->Import(FileSource("more.txt"), Inputs({A, A, A}), {}, "");
    EXPECT_EQ(third.Added, 1);
    EXPECT_EQ(third.AlreadyArchived, 2);
    EXPECT_EQ(archive_->Count({}), 4);
}

TEST_P(ArchiveBehaviour, ReadingsWithACommaAreTheSameRecord) {
    // HRC (steel, scale code 3) readings in tenths: a file saved with a decimal comma holds
    // the same observations.
    const std::string dot = Line(14, 0x3000, {452, 455});
    std::string comma = dot;
    for (std::size_t i = 21; i < comma.size(); ++i)
        if (comma[i] == '.')
            comma[i] = ',';
    ASSERT_NE(dot, comma);
    archive_->Import(FileSource("dot.txt"), Inputs({dot}), {}, "");
    EXPECT_EQ(archive_->Import(FileSource("comma.txt"), Inputs({comma}), {}, "").Added, 0);
}

TEST_P(ArchiveBehaviour, KeepsTheLineAndTheSourceAsTheyCameIn) {
    ArchiveLabDetails details;
    details.Part = "轴 7";
    details.Operator = "王工";
    archive_->Import(FileSource("/data/a.txt"), Inputs({A}), details, "");
    const auto records = archive_->Fetch({}, 0, 10);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Line, A);
    EXPECT_EQ(records[0].Source.FilePath, "/data/a.txt");
    EXPECT_EQ(records[0].ArchivedBy, "王工");  // the operator, when given
    EXPECT_EQ(records[0].Details, details);
    EXPECT_EQ(records[0].DateText, "2025/03/14");
    EXPECT_EQ(records[0].Readings, (std::vector<double>{450, 452, 448}));
}

TEST_P(ArchiveBehaviour, FiltersAndPagesInIdOrder) {
    ArchiveLabDetails lot7;
    lot7.Lot = "L7";
    archive_->Import(FileSource("a.txt"), Inputs({C, A}), {}, "");
    archive_->Import(FileSource("b.txt"), Inputs({B}), lot7, "");
    struct Case {
        const char* Name;
        ArchiveFilter Filter;
        std::vector<std::string> Lines;
    };
    ArchiveFilter range;
    range.From = "2025-03-15";
    range.To = "2025-03-16";
    ArchiveFilter steelInRange = range;
    steelInRange.Material = DeriveLineFields(A).Material;
    ArchiveFilter lot;
    lot.Lot = "L7";
    ArchiveFilter none;
    none.Scale = "HRC";
    for (const Case& c : {Case{"all", {}, {C, A, B}}, Case{"date range", range, {C, B}},
                          Case{"range and material", steelInRange, {B}},
                          Case{"lot", lot, {B}}, Case{"no match", none, {}}}) {
        std::vector<std::string> lines;
        for (const auto& record : archive_->Fetch(c.Filter, 0, 10))
            lines.push_back(record.Line);
        EXPECT_EQ(lines, c.Lines) << c.Name;
        EXPECT_EQ(archive_->Count(c.Filter), static_cast<int64_t>(c.Lines.size())) << c.Name;
    }
    // A page further on.
    const auto page = archive_->Fetch({}, 1, 1);
    ASSERT_EQ(page.size(), 1u);
    EXPECT_EQ(page[0].Line, A);
    // The page after a row, by its id, with the filters still applied.
    ArchiveFilter afterFirst = range;
    afterFirst.AfterId = archive_->Fetch(range, 0, 1).at(0).Id;
    const auto next = archive_->Fetch(afterFirst, 0, 10);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].Line, B);
}

TEST_P(ArchiveBehaviour, VerdictFilterJudgesAsTheLabRow) {
    // HRC (one decimal, 888 = 88.8 a failed impact) judged against 44-46; HL has no limits.
    const std::string pass = Line(14, 0x3000, {452, 455});
    const std::string fail = Line(14, 0x3000, {470, 475});
    const std::string hl = Line(15, 0x0000, {450, 452});
    const std::string failedImpact = Line(15, 0x3000, {452, 888});  // passes without it
    const std::string meanOnly = Line(16, 0x3000, {440, 470});      // 47.0 alone is outside
    archive_->Import(FileSource("a.txt"), Inputs({pass, fail, hl, failedImpact, meanOnly}), {},
                     "");
    QualitySettings perScale;
    perScale.PerScale["HRC"] = {44.0, 46.0};
    QualitySettings excluding = perScale;
    excluding.ExcludeInvalid = true;
    QualitySettings each = perScale;
    each.EachReading = true;
    QualitySettings forAll;
    forAll.ForAll = ToleranceLimits{44.0, 46.0};
    struct Case {
        const char* Name;
        QualitySettings Quality;
        ArchiveVerdict Verdict;
        std::vector<std::string> Lines;
        std::optional<std::string> Scale = std::nullopt;
        std::optional<std::string> From = std::nullopt;
    };
    for (const Case& c : {
             Case{"pass", perScale, ArchiveVerdict::Pass, {pass, meanOnly}},
             Case{"fail", perScale, ArchiveVerdict::Fail, {fail, failedImpact}},
             Case{"no limits", perScale, ArchiveVerdict::NoLimits, {hl}},
             Case{"failed impacts left out", excluding, ArchiveVerdict::Pass,
                  {pass, failedImpact, meanOnly}},
             // Each valid reading: a failed impact is not judged.
             Case{"each reading", each, ArchiveVerdict::Fail, {fail, meanOnly}},
             Case{"one pair for the scale filtered", forAll, ArchiveVerdict::Pass,
                  {pass, meanOnly}, "HRC"},
             Case{"with a date range", perScale, ArchiveVerdict::Pass, {meanOnly}, std::nullopt,
                  "2025-03-16"},
             Case{"no scale has limits", QualitySettings{}, ArchiveVerdict::Pass, {}},
         }) {
        ArchiveFilter filter;
        filter.Verdict = c.Verdict;
        filter.Quality = c.Quality;
        filter.Scale = c.Scale;
        filter.From = c.From;
        std::vector<std::string> lines;
        for (const auto& record : archive_->Fetch(filter, 0, 10))
            lines.push_back(record.Line);
        EXPECT_EQ(lines, c.Lines) << c.Name;
        EXPECT_EQ(archive_->Count(filter), static_cast<int64_t>(c.Lines.size())) << c.Name;
        EXPECT_EQ(archive_->IdsByDate(filter).size(), c.Lines.size()) << c.Name;
        // The trend of a verdict charts the records the table lists, no others.
        EXPECT_EQ(archive_->TrendRecordsByDate(filter).size(), c.Lines.size()) << c.Name;
    }
    // A page further on, still in id order.
    ArchiveFilter failing;
    failing.Verdict = ArchiveVerdict::Fail;
    failing.Quality = perScale;
    const auto page = archive_->Fetch(failing, 1, 5);
    ASSERT_EQ(page.size(), 1u);
    EXPECT_EQ(page[0].Line, failedImpact);
    failing.AfterId = archive_->Fetch(failing, 0, 1).at(0).Id;
    const auto next = archive_->Fetch(failing, 0, 5);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].Line, failedImpact);
}

TEST_P(ArchiveBehaviour, ByIdInRecordDateThenArchiveOrder) {
    archive_->Import(FileSource("a.txt"), Inputs({C, A, B}), {}, "");
    const std::vector<int64_t> ids = archive_->IdsByDate({});
    ASSERT_EQ(ids.size(), 3u);
    std::vector<std::string> lines;
    for (const auto& record : archive_->RecordsById({ids[2], ids[0], ids[1], 999999}))
        lines.push_back(record.Line);
    EXPECT_EQ(lines, (std::vector<std::string>{A, B, C}));

    // The trend's lean read holds the same records, in the same order, with the same words.
    ArchiveFilter steel;
    steel.Material = "钢和铸钢";
    for (const ArchiveFilter& filter : {ArchiveFilter{}, steel}) {
        const auto full = archive_->RecordsById(archive_->IdsByDate(filter));
        const auto lean = archive_->TrendRecordsByDate(filter);
        ASSERT_EQ(lean.size(), full.size());
        for (std::size_t i = 0; i < lean.size(); ++i) {
            EXPECT_EQ(lean[i].Id, full[i].Id);
            EXPECT_EQ(lean[i].Number, full[i].TesterNumber);
            EXPECT_EQ(lean[i].DateText, full[i].DateText);
            EXPECT_EQ(lean[i].SettingsWord, full[i].SettingsWord);
            EXPECT_EQ(lean[i].Readings, full[i].Readings);
        }
    }
    EXPECT_EQ(archive_->TrendRecordsByDate(steel).size(), 2u);
}

TEST_P(ArchiveBehaviour, ChangedDetailsAddVersions) {
    ArchiveLabDetails first;
    first.Part = "P1";
    archive_->Import(FileSource("a.txt"), Inputs({A}), first, "li");
    const int64_t id = archive_->Fetch({}, 0, 1).at(0).Id;
    ArchiveLabDetails second = first;
    second.Remarks = "re-measured edge";
    archive_->ChangeDetails(id, second, "zhang");
    const auto history = archive_->History(id);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].Details, first);
    EXPECT_EQ(history[0].Author, "li");
    EXPECT_EQ(history[1].Details, second);
    EXPECT_EQ(history[1].Author, "zhang");
    EXPECT_EQ(archive_->Fetch({}, 0, 1).at(0).Details, second);
    EXPECT_EQ(archive_->Fetch({}, 0, 1).at(0).Line, A);  // the observations never change
    try {
        archive_->History(id + 100);
        FAIL() << "no such record";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.Code, ArchiveErrorCode::NoSuchRecord);
    }
    EXPECT_TRUE(archive_->Check().empty());
}

TEST_P(ArchiveBehaviour, ALineThatDoesNotConvertAddsNothing) {
    std::string degreeInTheDate = A;
    degreeInTheDate[6] = '\xB0';
    const struct {
        const char* Name;
        std::string Line;
        FieldProblem Problem;
    } cases[] = {
        {"FieldCutShort", "  3,2025/03/1x", FieldProblem::NotANumber},
        // Kept, it would be text with a replacement character that no reader takes back.
        {"ByteThatIsNoText", degreeInTheDate, FieldProblem::NotText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        try {
            archive_->Import(FileSource("bad.txt"), Inputs({A, c.Line}), {}, "");
            ADD_FAILURE() << "imported";
        } catch (const ConversionError& error) {
            ASSERT_TRUE(error.Fault().has_value());
            EXPECT_EQ(error.Fault()->Problem, c.Problem);
        }
        EXPECT_EQ(archive_->Count({}), 0);
    }
}

TEST_P(ArchiveBehaviour, NewerSchemaIsRefusedAndUntouched) {
    archive_->Import(FileSource("a.txt"), Inputs({A}), {}, "");
    auto* sql = dynamic_cast<SqlArchive*>(archive_.get());
    ASSERT_TRUE(QSqlQuery(sql->Database())
                    .exec(GetParam() == Backend::Sqlite
                              ? "PRAGMA user_version = 99"
                              : "INSERT INTO leebdesk_schema (version) VALUES (99)"));
    archive_.reset();
    try {
        OpenArchive(place_.Location());
        FAIL() << "a newer schema opened";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.Code, ArchiveErrorCode::NewerSchema);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveBehaviour,
                         ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const auto& info) {
                             return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
                         });

}  // namespace
}  // namespace leeb::testing
