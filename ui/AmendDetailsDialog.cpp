#include "AmendDetailsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace leeb {
namespace {

using DetailsField = std::string ArchiveLabDetails::*;
constexpr DetailsField DetailsFields[] = {
    &ArchiveLabDetails::Part,       &ArchiveLabDetails::Lot,      &ArchiveLabDetails::Operator,
    &ArchiveLabDetails::Instrument, &ArchiveLabDetails::Standard, &ArchiveLabDetails::Remarks};

}  // namespace

AmendDetailsDialog::AmendDetailsDialog(const std::vector<ArchivedRecord>& records, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("AmendDetailsDialog"));
    setWindowTitle(tr("修改信息"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        tr("%n 条记录。只有改动的项会修改; 原来的信息作为旧版本保留, 读数不会改变。", nullptr,
           static_cast<int>(records.size())),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    const QString labels[] = {tr("零件"), tr("批号"),     tr("操作员"),
                              tr("仪器"), tr("标准"),     tr("备注")};
    const char* names[] = {"AmendPart",       "AmendLot",      "AmendOperator",
                           "AmendInstrument", "AmendStandard", "AmendRemarks"};
    for (std::size_t f = 0; f < fields_.size(); ++f) {
        bool same = true;
        for (const ArchivedRecord& record : records)
            same = same && record.Details.*DetailsFields[f] == records.front().Details.*DetailsFields[f];
        Field& field = fields_[f];
        field.Initial = same && !records.empty()
                            ? QString::fromStdString(records.front().Details.*DetailsFields[f])
                            : QString();
        field.Edit = new QLineEdit(field.Initial, this);
        field.Edit->setObjectName(QString::fromLatin1(names[f]));
        if (!same)
            field.Edit->setPlaceholderText(tr("各不相同"));
        form->addRow(labels[f], field.Edit);
    }
    reason_ = new QLineEdit(this);
    reason_->setObjectName(QStringLiteral("AmendReason"));
    reason_->setPlaceholderText(tr("例如: 批号抄错"));
    form->addRow(tr("原因"), reason_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("修改"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(420, sizeHint().height());
}

ArchiveDetailsChange AmendDetailsDialog::Change() const {
    ArchiveDetailsChange change;
    std::optional<std::string>* targets[] = {&change.Part,       &change.Lot,
                                             &change.Operator,   &change.Instrument,
                                             &change.Standard,   &change.Remarks};
    for (std::size_t f = 0; f < fields_.size(); ++f)
        if (fields_[f].Edit->text() != fields_[f].Initial)
            *targets[f] = fields_[f].Edit->text().trimmed().toStdString();
    return change;
}

QString AmendDetailsDialog::Reason() const { return reason_->text().trimmed(); }

}  // namespace leeb
