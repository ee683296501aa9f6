#pragma once
// The record tree: one top-level row per record ("存储记录" + number) and under it one row per
// reading. A record row keeps only its number, the index of its line in RecordLines and its
// reading count; reading texts are parsed from the line when the view asks for them, so a
// full tester (61,439 records of 32 readings) costs a few bytes per record.

#include <QAbstractItemModel>
#include <QString>
#include <optional>
#include <vector>

#include "QualitySettings.h"
#include "RecordEvaluation.h"
#include "RecordFile.h"

namespace leeb {

class RecordTreeModel : public QAbstractItemModel {
  public:
    struct RecordEntry {
        int RecordNumber = 0;
        int LineIndex = 0;
        int ReadingCount = 0;
        // The impact count the tester stores for a record kept damaged (0 or above 32);
        // -1 for a sound record.
        int DamagedImpactCount = -1;
    };

    // lines must outlive the model; it is read, never changed.
    RecordTreeModel(const RecordLines& lines, char decimalSeparator, QObject* parent = nullptr);

    static QString RecordNodeText(int recordNumber);

    void Clear();
    void AppendRecord(const RecordEntry& entry);
    void AppendRecords(const std::vector<RecordEntry>& entries);  // one insertion for all

    // Readings outside their scale's limits and failed impacts get a colour and a tooltip;
    // their texts stay. Nothing set: no marks.
    void SetQuality(QualitySettings quality);
    // The mark of a reading row; Valid for record rows and without quality settings.
    ReadingMark MarkAt(const QModelIndex& index) const;

    int RecordCount() const { return static_cast<int>(records_.size()); }
    // The record of a top-level index; nothing for reading rows and invalid indexes.
    std::optional<RecordEntry> RecordAt(const QModelIndex& index) const;
    QModelIndex RecordIndex(int row) const { return index(row, 0); }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    // internalId: 0 for a record row, record row + 1 for a reading row.
    QString ReadingText(int recordRow, int readingRow) const;
    void DropCache() const;

    const RecordLines& lines_;
    char decimalSeparator_;
    std::vector<RecordEntry> records_;
    // By record row: an index of one of its reading rows was made, so someone may hold one.
    mutable std::vector<bool> readingsHandedOut_;

    // The reading texts of the record last asked for: a view asks for them row after row.
    mutable int cachedRecord_ = -1;
    mutable std::vector<QString> cachedTexts_;
    mutable std::vector<ReadingMark> cachedMarks_;
    QualitySettings quality_;
};

}  // namespace leeb
