#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "RecordFixtures.h"
#include "RecordTreeModel.h"

namespace leeb {
namespace {

using namespace fixtures;

class RecordTreeModelTest : public ::testing::Test {
  protected:
    RecordLines lines =
        WithHeader({Line(SteelHRC, {453, 888, 450}, '.'), Line(SteelHL, {450, 460}, '.')});
    RecordTreeModel model{lines, '.'};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    QStringList Texts(const QModelIndex& parent) const {
        QStringList texts;
        for (int row = 0; row < model.rowCount(parent); ++row) {
            texts << model.index(row, 0, parent).data().toString();
        }
        return texts;
    }
};

TEST_F(RecordTreeModelTest, RecordRowsNameTheirRecordAndReadingRowsComeFromTheLine) {
    model.AppendRecord({1, 1, 3});
    model.AppendRecord({12, 2, 2});
    EXPECT_EQ(Texts({}), (QStringList{"存储记录1", "存储记录12"}));
    EXPECT_EQ(Texts(model.RecordIndex(0)), (QStringList{"45.3", "88.8", "45"}));
    EXPECT_EQ(Texts(model.RecordIndex(1)), (QStringList{"450", "460"}));
    // Asking across records in turn must not mix their texts up.
    EXPECT_EQ(model.index(0, 0, model.RecordIndex(0)).data().toString(), "45.3");
    EXPECT_EQ(model.index(1, 0, model.RecordIndex(1)).data().toString(), "460");
}

TEST_F(RecordTreeModelTest, RecordAtTellsRecordRowsFromReadingRows) {
    model.AppendRecord({517, 1, 3});
    const auto record = model.RecordAt(model.RecordIndex(0));
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->RecordNumber, 517);
    EXPECT_EQ(record->LineIndex, 1);
    EXPECT_FALSE(model.RecordAt(model.index(0, 0, model.RecordIndex(0))).has_value());
    EXPECT_FALSE(model.RecordAt({}).has_value());
}

TEST_F(RecordTreeModelTest, NodesAreNotEditable) {
    model.AppendRecord({1, 1, 3});
    EXPECT_FALSE(model.flags(model.RecordIndex(0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(0, 0, model.RecordIndex(0))) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.RecordIndex(0), "存储记录9"));
}

TEST_F(RecordTreeModelTest, AppendsInsertRowsWithoutAReset) {
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.AppendRecord({1, 1, 3});
    model.AppendRecords({{2, 2, 2}, {3, 2, 2}, {4, 2, 2}});
    model.AppendRecords({});
    ASSERT_EQ(inserted.count(), 2);
    EXPECT_EQ(inserted[1][1].toInt(), 1);
    EXPECT_EQ(inserted[1][2].toInt(), 3);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(model.RecordCount(), 4);
}

TEST_F(RecordTreeModelTest, NewLimitsTellTheReadingRowsAViewWasGivenThatTheirColoursChanged) {
    model.AppendRecord({1, 1, 3});
    model.AppendRecord({2, 2, 2});
    const QPersistentModelIndex reading = model.index(1, 0, model.RecordIndex(1));  // 460 HL
    EXPECT_FALSE(model.data(reading, Qt::ForegroundRole).isValid());

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QualitySettings limits;
    limits.PerScale["HL"] = ToleranceLimits{400.0, 455.0};
    model.SetQuality(limits);

    EXPECT_TRUE(model.data(reading, Qt::ForegroundRole).isValid()) << "above the upper limit";
    bool told = false;
    for (const QList<QVariant>& signal : changed) {
        const QModelIndex first = signal[0].toModelIndex();
        const QModelIndex last = signal[1].toModelIndex();
        told = told || (first.parent() == reading.parent() && first.row() <= reading.row() &&
                        reading.row() <= last.row());
    }
    EXPECT_TRUE(told) << "the view holding the reading row was never told";
}

TEST_F(RecordTreeModelTest, AMissingOrBrokenLineGivesBlankReadingsNotAFailure) {
    lines[1] = "garbage";
    model.AppendRecord({1, 1, 3});
    model.AppendRecord({9, 9, 2});  // no line 9
    EXPECT_EQ(Texts(model.RecordIndex(0)), (QStringList{"", "", ""}));
    EXPECT_EQ(Texts(model.RecordIndex(1)), (QStringList{"", ""}));
}

}  // namespace
}  // namespace leeb
