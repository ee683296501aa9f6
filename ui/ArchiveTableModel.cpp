#include "ArchiveTableModel.h"

#include <QColor>
#include <QCoreApplication>

#include "ArchiveLineFields.h"
#include "ArchiveTexts.h"
#include "CodeTableText.h"
#include "MeasurementRecord.h"
#include "RecordEvaluation.h"

namespace leeb {

namespace {

QString Trimmed(const std::string& text) {
    return QString::fromStdString(text).trimmed();
}

// Made on the archive thread: the texts a row shows, derived once per page.
ArchiveTableModel::Row RowOf(ArchivedRecord record, const QualitySettings& quality,
                             char decimalSeparator) {
    ArchiveTableModel::Row row;
    const ArchiveLineFields fields = DeriveLineFields(record.Line);
    const DecodedSettings settings =
        DecodeSettingsWord(static_cast<uint16_t>(record.SettingsWord));
    const bool oneDecimal = OneDecimalScale(settings);
    row.Material = fields.Material;
    // A strength record has no scale: the main window shows the strength symbol instead.
    row.Scale = settings.StrengthMode != 0 ? std::string("强度") : fields.Scale;
    // The mean as the report prints it, and judged as the main window judges it.
    const RecordEvaluation evaluation =
        EvaluateRecord(record.Readings, oneDecimal, quality.For(settings));
    row.Mean = QString::fromStdString(evaluation.Used.ReportMeanText(decimalSeparator));
    row.Verdict = VerdictText(evaluation.RecordVerdict);
    row.Record = std::move(record);
    return row;
}

}  // namespace

ArchiveTableModel::ArchiveTableModel(ArchiveWorker& worker, QualitySettings quality,
                                     char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent),
      worker_(worker),
      quality_(std::move(quality)),
      decimalSeparator_(decimalSeparator) {}

void ArchiveTableModel::SetFilter(const ArchiveFilter& filter) {
    // Every row goes: a new query, not rows added.
    beginResetModel();
    filter_ = filter;
    ++generation_;
    total_.reset();
    fetching_ = false;
    rows_.clear();
    rows_.shrink_to_fit();
    endResetModel();
    const int generation = generation_;
    worker_.Ask<int64_t>(
        [filter](ArchiveWorker::Access& access) { return access.Reading().Count(filter); },
        [this, alive = std::weak_ptr(alive_), generation](int64_t total) {
            if (!alive.lock() || generation != generation_)
                return;
            total_ = total;
            if (listener_)
                listener_(QString());
            fetchMore({});
        },
        [this, alive = std::weak_ptr(alive_), generation](const ArchiveFailure& failure) {
            if (alive.lock())
                Failed(failure, generation);
        });
}

void ArchiveTableModel::Failed(const ArchiveFailure& failure, int generation) {
    if (generation != generation_)
        return;
    fetching_ = false;
    if (!total_)
        total_ = static_cast<int64_t>(rows_.size());  // nothing more is fetched for it
    if (listener_)
        listener_(ArchiveFailureText(failure));
}

int ArchiveTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ArchiveTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ArchiveTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = RowAt(index.row());
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == Id || index.column() == Number ||
                            index.column() == Count || index.column() == Mean;
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role == Qt::ForegroundRole && index.column() == Count && row.Record.Damaged())
        return QColor(Qt::red);
    if (role != Qt::DisplayRole)
        return {};
    const ArchivedRecord& record = row.Record;
    switch (index.column()) {
        case Id:
            return QVariant::fromValue(qlonglong(record.Id));
        case Number:
            return record.TesterNumber;
        case Date:
            return Trimmed(record.DateText);
        case Material:
            return CodeTableText(row.Material);
        case Scale:
            return CodeTableText(row.Scale);
        case Count:
            // A damaged record says so where it is listed, as the record tree does.
            if (record.Damaged())
                return QCoreApplication::translate("Archive", "%1 (损坏: %2)")
                    .arg(record.ImpactCount)
                    .arg(record.StoredImpactCount);
            return record.ImpactCount;
        case Mean:
            return row.Mean;
        case Verdict:
            return CodeTableText(row.Verdict);
        case Part:
            return QString::fromStdString(record.Details.Part);
        case Lot:
            return QString::fromStdString(record.Details.Lot);
        case Operator:
            return QString::fromStdString(record.Details.Operator);
        default:
            return {};
    }
}

QVariant ArchiveTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case Id:
            return tr("编号");
        case Number:
            return tr("仪器记录号");
        case Date:
            return tr("日期");
        case Material:
            return tr("材料");
        case Scale:
            return tr("硬度制");
        case Count:
            return tr("次数");
        case Mean:
            return tr("平均值");
        case Verdict:
            return tr("判定");
        case Part:
            return tr("零件");
        case Lot:
            return tr("批号");
        case Operator:
            return tr("操作员");
        default:
            return {};
    }
}

bool ArchiveTableModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && total_ && !fetching_ &&
           static_cast<int64_t>(rows_.size()) < *total_;
}

void ArchiveTableModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    fetching_ = true;
    const int generation = generation_;
    // The page after the last row shown, found by its id (the rows come in id order).
    ArchiveFilter page = filter_;
    if (!rows_.empty())
        page.AfterId = rows_.back().Record.Id;
    worker_.Ask<std::vector<Row>>(
        [filter = std::move(page), quality = quality_,
         separator = decimalSeparator_](ArchiveWorker::Access& access) {
            std::vector<Row> page;
            for (ArchivedRecord& record : access.Reading().Fetch(filter, 0, PageSize))
                page.push_back(RowOf(std::move(record), quality, separator));
            return page;
        },
        [this, alive = std::weak_ptr(alive_), generation](std::vector<Row> page) {
            if (!alive.lock() || generation != generation_)
                return;
            if (page.empty()) {
                // Fewer than counted (records went meanwhile): the table ends here.
                total_ = static_cast<int64_t>(rows_.size());
            } else {
                // Still fetching while the rows go in: a view or checker that asks for more
                // inside the insertion would otherwise fetch this same page again.
                const int first = rowCount();
                beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
                std::move(page.begin(), page.end(), std::back_inserter(rows_));
                endInsertRows();
            }
            fetching_ = false;
            if (listener_)
                listener_(QString());
        },
        [this, alive = std::weak_ptr(alive_), generation](const ArchiveFailure& failure) {
            if (alive.lock())
                Failed(failure, generation);
        });
}

}  // namespace leeb
