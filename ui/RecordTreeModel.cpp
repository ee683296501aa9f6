#include "RecordTreeModel.h"

#include <QColor>
#include <QCoreApplication>

#include "NumberText.h"

namespace leeb {

RecordTreeModel::RecordTreeModel(const RecordLines& lines, char decimalSeparator, QObject* parent)
    : QAbstractItemModel(parent), lines_(lines), decimalSeparator_(decimalSeparator) {}

namespace {

// Light colours that read on the tree's dark desktop-colour background.
QVariant MarkData(ReadingMark mark, int role) {
    const char* tip = nullptr;
    QColor colour;
    switch (mark) {
        case ReadingMark::Valid:
            return {};
        case ReadingMark::FailedImpact:
            tip = QT_TRANSLATE_NOOP("RecordTreeModel", "冲击无效 (888)");
            colour = QColor(190, 190, 190);
            break;
        case ReadingMark::AboveUpper:
            tip = QT_TRANSLATE_NOOP("RecordTreeModel", "高于上限");
            colour = QColor(255, 120, 120);
            break;
        case ReadingMark::BelowLower:
            tip = QT_TRANSLATE_NOOP("RecordTreeModel", "低于下限");
            colour = QColor(255, 210, 90);
            break;
    }
    if (role == Qt::ToolTipRole)
        return QCoreApplication::translate("RecordTreeModel", tip);
    return colour;
}

}  // namespace

QString RecordTreeModel::RecordNodeText(int recordNumber) {
    return QCoreApplication::translate("RecordTreeModel", "存储记录") +
           QString::number(recordNumber);
}

void RecordTreeModel::Clear() {
    beginResetModel();
    records_.clear();
    records_.shrink_to_fit();
    readingsHandedOut_.clear();
    readingsHandedOut_.shrink_to_fit();
    DropCache();
    endResetModel();
}

void RecordTreeModel::AppendRecord(const RecordEntry& entry) {
    const int row = RecordCount();
    beginInsertRows(QModelIndex(), row, row);
    records_.push_back(entry);
    readingsHandedOut_.push_back(false);
    endInsertRows();
}

void RecordTreeModel::AppendRecords(const std::vector<RecordEntry>& entries) {
    if (entries.empty())
        return;
    const int first = RecordCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(entries.size()) - 1);
    records_.insert(records_.end(), entries.begin(), entries.end());
    readingsHandedOut_.resize(records_.size(), false);
    endInsertRows();
}

std::optional<RecordTreeModel::RecordEntry> RecordTreeModel::RecordAt(
    const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.internalId() != 0)
        return std::nullopt;
    if (index.row() < 0 || index.row() >= RecordCount())
        return std::nullopt;
    return records_[static_cast<std::size_t>(index.row())];
}

QModelIndex RecordTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0)
        return {};
    if (!parent.isValid()) {
        return row < RecordCount() ? createIndex(row, 0, quintptr{0}) : QModelIndex();
    }
    if (parent.internalId() != 0 || parent.row() >= RecordCount())
        return {};
    if (row >= records_[static_cast<std::size_t>(parent.row())].ReadingCount)
        return {};
    readingsHandedOut_[static_cast<std::size_t>(parent.row())] = true;
    return createIndex(row, 0, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex RecordTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr{0});
}

int RecordTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return RecordCount();
    if (parent.column() != 0 || parent.internalId() != 0 || parent.row() >= RecordCount()) {
        return 0;
    }
    return records_[static_cast<std::size_t>(parent.row())].ReadingCount;
}

int RecordTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant RecordTreeModel::data(const QModelIndex& index, int role) const {
    if (index.isValid() && index.internalId() == 0) {
        const RecordEntry& entry = records_[static_cast<std::size_t>(index.row())];
        if (entry.DamagedImpactCount >= 0) {
            // A damaged record says so where it is listed, so nobody takes it for a sound one.
            switch (role) {
                case Qt::DisplayRole:
                    return RecordNodeText(entry.RecordNumber) +
                           QCoreApplication::translate("RecordTreeModel", " (已损坏)");
                case Qt::ForegroundRole:
                    return QColor(Qt::red);
                case Qt::ToolTipRole:
                    return QCoreApplication::translate("RecordTreeModel", "已损坏: 冲击次数 %1")
                        .arg(entry.DamagedImpactCount);
                default:
                    break;
            }
        }
    }
    if (index.isValid() && (role == Qt::ForegroundRole || role == Qt::ToolTipRole)) {
        return MarkData(MarkAt(index), role);
    }
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    if (index.internalId() == 0) {
        return RecordNodeText(records_[static_cast<std::size_t>(index.row())].RecordNumber);
    }
    return ReadingText(static_cast<int>(index.internalId() - 1), index.row());
}

Qt::ItemFlags RecordTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Not editable: a record row's text names its record, and edits would have nowhere to go.
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.internalId() != 0)
        f |= Qt::ItemNeverHasChildren;
    return f;
}

QString RecordTreeModel::ReadingText(int recordRow, int readingRow) const {
    if (recordRow != cachedRecord_) {
        cachedRecord_ = recordRow;
        cachedTexts_.clear();
        cachedMarks_.clear();
        const RecordLines& lines = lines_;
        const auto lineIndex =
            static_cast<std::size_t>(records_[static_cast<std::size_t>(recordRow)].LineIndex);
        if (lineIndex < lines.size()) {
            try {
                const RecordTextFields fields =
                    ParseRecordLine(lines[lineIndex], decimalSeparator_);
                for (double value : fields.Readings) {
                    cachedTexts_.push_back(
                        QString::fromStdString(FormatGeneral(value, decimalSeparator_)));
                }
                if (quality_.Active()) {
                    const DecodedSettings settings =
                        DecodeSettingsWord(static_cast<uint16_t>(fields.SettingsWord));
                    cachedMarks_ = EvaluateRecord(fields.Readings, OneDecimalScale(settings),
                                                  quality_.For(settings))
                                       .Marks;
                }
            } catch (const ConversionError&) {
                // The row count was taken from a line that parsed; a line replaced since then
                // shows blank readings rather than failing inside the view.
            }
        }
    }
    if (readingRow < 0 || static_cast<std::size_t>(readingRow) >= cachedTexts_.size())
        return {};
    return cachedTexts_[static_cast<std::size_t>(readingRow)];
}

void RecordTreeModel::DropCache() const {
    cachedRecord_ = -1;
    cachedTexts_.clear();
    cachedMarks_.clear();
}

void RecordTreeModel::SetQuality(QualitySettings quality) {
    quality_ = std::move(quality);
    DropCache();
    if (records_.empty())
        return;
    const QList<int> roles{Qt::ForegroundRole, Qt::ToolTipRole};
    emit dataChanged(index(0, 0), index(RecordCount() - 1, 0), roles);
    // The reading rows change colour. Only rows someone was handed an index of can be known
    // to anyone, so only their records are told: a signal for every record's readings would
    // cost a full tester over a minute, for rows no view has ever shown.
    for (std::size_t row = 0; row < records_.size(); ++row) {
        if (!readingsHandedOut_[row] || records_[row].ReadingCount == 0)
            continue;
        const QModelIndex record = index(static_cast<int>(row), 0);
        emit dataChanged(index(0, 0, record), index(records_[row].ReadingCount - 1, 0, record),
                         roles);
    }
}

ReadingMark RecordTreeModel::MarkAt(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == 0 || !quality_.Active())
        return ReadingMark::Valid;
    ReadingText(static_cast<int>(index.internalId() - 1), index.row());  // fills the cache
    if (index.row() < 0 || static_cast<std::size_t>(index.row()) >= cachedMarks_.size())
        return ReadingMark::Valid;
    return cachedMarks_[static_cast<std::size_t>(index.row())];
}

}  // namespace leeb
