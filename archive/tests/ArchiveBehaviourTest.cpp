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
             // Judged each, what fails on the mean still fails (88.8 kept in the mean).
             Case{"each reading", each, ArchiveVerdict::Fail, {fail, failedImpact, meanOnly}},
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

TEST_P(ArchiveBehaviour, AmendmentsAddVersionsTheFiltersFollow) {
    ArchiveLabDetails first;
    first.Part = "P1";
    first.Lot = "H1";
    archive_->Import(FileSource("a.txt"), Inputs({A, B}), first, "li");
    const int64_t id = archive_->Fetch({}, 0, 1).at(0).Id;
    ArchiveDetailsChange change;
    change.Lot = "H2";
    change.Remarks = "lot misread";
    EXPECT_EQ(archive_->Amend({id}, change, "zhang", "typo in the lot"), 1);
    // The same change again alters nothing and adds no version.
    EXPECT_EQ(archive_->Amend({id}, change, "zhang", "again"), 0);

    const auto history = archive_->History(id);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].Details, first);
    EXPECT_EQ(history[0].Author, "li");
    EXPECT_EQ(history[0].Reason, "");
    ArchiveLabDetails second = first;
    second.Lot = "H2";
    second.Remarks = "lot misread";
    EXPECT_EQ(history[1].Details, second);
    EXPECT_EQ(history[1].Author, "zhang");
    EXPECT_EQ(history[1].Reason, "typo in the lot");
    EXPECT_GE(history[1].ChangedAt, history[0].ChangedAt);

    // The filters find the record by its new details only.
    ArchiveFilter byOld, byNew;
    byOld.Lot = "H1";
    byNew.Lot = "H2";
    EXPECT_EQ(archive_->Count(byOld), 1);  // B keeps H1
    ASSERT_EQ(archive_->Fetch(byNew, 0, 10).size(), 1u);
    EXPECT_EQ(archive_->Fetch(byNew, 0, 10).at(0).Id, id);
    EXPECT_EQ(archive_->Fetch(byNew, 0, 10).at(0).Details, second);
    EXPECT_EQ(archive_->IdsByDate(byNew), std::vector<int64_t>{id});
    EXPECT_EQ(archive_->Fetch({}, 0, 1).at(0).Line, A);  // the observations never change

    // An unknown id among others amends none of them.
    change.Lot = "H3";
    try {
        archive_->Amend({id, id + 100}, change, "zhang", "");
        FAIL() << "no such record";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.Code, ArchiveErrorCode::NoSuchRecord);
    }
    EXPECT_EQ(archive_->History(id).size(), 2u);
    try {
        archive_->History(id + 100);
        FAIL() << "no such record";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.Code, ArchiveErrorCode::NoSuchRecord);
    }
    EXPECT_TRUE(archive_->Check().empty());
}

TEST_P(ArchiveBehaviour, AnImportWithDetailsAmendsTheRecordsAlreadyThere) {
    archive_->Import(UploadSource(), Inputs({A, B}), {}, "");
    // Without details a second import changes nothing.
    const auto plain = archive_->Import(FileSource("saved.txt"), Inputs({A, B}), {}, "");
    EXPECT_EQ(plain.Amended, 0);
    ArchiveLabDetails details;
    details.Part = "齿轮轴";
    details.Lot = "H2291";
    const auto amended =
        archive_->Import(FileSource("saved.txt"), Inputs({A, B, C}), details, "wang");
    EXPECT_EQ(amended.Added, 1);
    EXPECT_EQ(amended.AlreadyArchived, 2);
    EXPECT_EQ(amended.Amended, 2);
    // Once they hold those details, the same import amends nothing more.
    EXPECT_EQ(archive_->Import(FileSource("saved.txt"), Inputs({A, B}), details, "wang").Amended,
              0);
    ArchiveFilter lot;
    lot.Lot = "H2291";
    EXPECT_EQ(archive_->Count(lot), 3);
    const auto history = archive_->History(archive_->Fetch({}, 0, 1).at(0).Id);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[1].Author, "wang");
    EXPECT_EQ(history[1].Reason, "import saved.txt");
    EXPECT_TRUE(archive_->Check().empty());
}

TEST_P(ArchiveBehaviour, ADamagedRecordKeepsItsMark) {
    // Counts of 40 and 0 on the tester: the lines keep 32 readings and none.
    std::vector<uint16_t> full(32, 450);
    const std::string kept32 = Line(20, 0x0000, full);
    const std::string none = Line(21, 0x0000, {});
    archive_->Import(UploadSource(), {{kept32, 1, 40}, {none, 2, 0}, {A, 3, -1}}, {}, "");
    const auto records = archive_->Fetch({}, 0, 10);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].StoredImpactCount, 40);
    EXPECT_EQ(records[0].Line, kept32);  // exported as the record file keeps it
    EXPECT_EQ(records[1].StoredImpactCount, 0);
    EXPECT_TRUE(records[1].Damaged());
    EXPECT_FALSE(records[2].Damaged());
    // Record by record, as an upload archives.
    auto* sql = dynamic_cast<SqlArchive*>(archive_.get());
    sql->Begin();
    const int64_t source = sql->CreateSource(UploadSource());
    const std::string other = Line(22, 0x0000, full);
    sql->InsertRecord(source, {other, 4, 33}, DeriveLineFields(other), 0, {}, "li", false);
    sql->Commit();
    EXPECT_EQ(archive_->Fetch({}, 0, 10).at(3).StoredImpactCount, 33);
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
