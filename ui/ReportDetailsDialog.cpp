#include "ReportDetailsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "RecordSelection.h"
#include "RecordSelectionText.h"

namespace leeb {

const QStringList ReportDetailsDialog::Standards = {
    QStringLiteral("GB/T 17394.1"),
    QStringLiteral("ISO 16859-1"),
    QStringLiteral("ASTM A956"),
};

ReportDetailsDialog::ReportDetailsDialog(const ReportDetailsChoice& proposed,
                                         std::size_t recordCount, QWidget* parent)
    : QDialog(parent), recordCount_(recordCount) {
    setObjectName(QStringLiteral("ReportDetailsDialog"));
    setWindowTitle(tr("报表信息"));
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout;
    layout->addLayout(form_);
    const ReportDetails& d = proposed.Details;
    company_ = AddLine(tr("单位名称"), d.Company, "Company");
    reportNumber_ = AddLine(tr("报告编号"), d.ReportNumber, "ReportNumber");
    part_ = AddLine(tr("工件/试样"), d.Part, "Part");
    lot_ = AddLine(tr("批号/炉号"), d.Lot, "Lot");
    operator_ = AddLine(tr("检验人员"), d.Operator, "Operator");
    instrument_ = AddLine(tr("仪器型号/编号"), d.Instrument, "Instrument");
    standard_ = new QComboBox(this);
    standard_->setObjectName(QStringLiteral("Standard"));
    standard_->setEditable(true);
    standard_->addItems(Standards);
    standard_->setCurrentText(QString::fromStdString(d.Standard));
    form_->addRow(tr("检测标准"), standard_);
    remarks_ = AddLine(tr("备注"), d.Remarks, "Remarks");
    signatures_ = new QCheckBox(tr("打印签字栏 (检验 / 审核)"), this);
    signatures_->setObjectName(QStringLiteral("Signatures"));
    signatures_->setChecked(d.Signatures);
    form_->addRow(QString(), signatures_);
    records_ = new QLineEdit(proposed.Records, this);
    records_->setObjectName(QStringLiteral("Records"));
    records_->setPlaceholderText(tr("全部记录，或如 1-5,9"));
    form_->addRow(tr("打印记录"), records_);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("Problem"));
    problem_->setStyleSheet(QStringLiteral("color: #c00000"));
    problem_->setWordWrap(true);
    problem_->hide();
    layout->addWidget(problem_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* next = buttons->addButton(tr("继续"), QDialogButtonBox::AcceptRole);
    next->setObjectName(QStringLiteral("Continue"));
    next->setDefault(true);
    QPushButton* skip = buttons->addButton(tr("跳过"), QDialogButtonBox::ActionRole);
    skip->setObjectName(QStringLiteral("Skip"));
    QPushButton* cancel = buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Cancel"));
    connect(next, &QPushButton::clicked, this, [this] { Finish(false); });
    connect(skip, &QPushButton::clicked, this, [this] { Finish(true); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

QLineEdit* ReportDetailsDialog::AddLine(const QString& label, const std::string& value,
                                        const char* name) {
    auto* line = new QLineEdit(QString::fromStdString(value), this);
    line->setObjectName(QString::fromLatin1(name));
    form_->addRow(label, line);
    return line;
}

void ReportDetailsDialog::Finish(bool skip) {
    // The record list is checked either way: Skip leaves the details out, not the choice.
    const QString records = records_->text().trimmed();
    if (!records.isEmpty()) {
        const RecordSelectionResult chosen =
            ParseRecordSelection(records.toStdString(), recordCount_);
        if (chosen.Error != RecordSelectionResult::Problem::None) {
            problem_->setText(RecordSelectionText::Of(chosen, recordCount_));
            problem_->show();
            records_->setFocus();
            return;
        }
    }
    skipped_ = skip;
    accept();
}

ReportDetailsChoice ReportDetailsDialog::Choice() const {
    ReportDetailsChoice choice;
    choice.Records = records_->text().trimmed();
    choice.Skipped = skipped_;
    if (skipped_)
        return choice;
    auto text = [](const QLineEdit* line) { return line->text().trimmed().toStdString(); };
    ReportDetails& d = choice.Details;
    d.Company = text(company_);
    d.ReportNumber = text(reportNumber_);
    d.Part = text(part_);
    d.Lot = text(lot_);
    d.Operator = text(operator_);
    d.Instrument = text(instrument_);
    d.Standard = standard_->currentText().trimmed().toStdString();
    d.Remarks = text(remarks_);
    d.Signatures = signatures_->isChecked();
    return choice;
}

}  // namespace leeb
