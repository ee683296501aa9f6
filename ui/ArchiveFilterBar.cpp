#include "ArchiveFilterBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <set>

#include "ArchiveTexts.h"
#include "CodeTableText.h"
#include "MeasurementRecord.h"

namespace leeb {

namespace {

// The first entry (empty) is "any"; the others carry the text the archive compares with.
template <std::size_t N>
QComboBox* NamesBox(const char* name, const std::array<const char*, N>& names,
                    bool translated, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItem(QString(), QString());
    std::set<QString> seen;
    for (const char* entry : names) {
        const QString text = QString::fromUtf8(entry).trimmed();
        if (text.isEmpty() || !seen.insert(text).second)
            continue;
        box->addItem(translated ? CodeTableText(text.toStdString()) : text, text);
    }
    return box;
}

std::optional<std::string> TextOf(const QLineEdit* edit) {
    const QString text = edit->text().trimmed();
    return text.isEmpty() ? std::nullopt : std::optional(text.toStdString());
}

std::optional<std::string> ChoiceOf(const QComboBox* box) {
    const QString text = box->currentData().toString();
    return text.isEmpty() ? std::nullopt : std::optional(text.toStdString());
}

}  // namespace

ArchiveFilterBar::ArchiveFilterBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ArchiveFilters"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);

    const auto dateBox = [this](const char* name, const QString& label, QCheckBox*& on,
                                QDateEdit*& date) {
        on = new QCheckBox(label, this);
        on->setObjectName(QString::fromLatin1(name) + QStringLiteral("On"));
        date = new QDateEdit(QDate::currentDate(), this);
        date->setObjectName(QString::fromLatin1(name));
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        date->setCalendarPopup(true);
        date->setEnabled(false);
        connect(on, &QCheckBox::toggled, date, &QWidget::setEnabled);
    };
    dateBox("FromDate", tr("从"), fromOn_, from_);
    dateBox("ToDate", tr("到"), toOn_, to_);
    from_->setDate(QDate::currentDate().addMonths(-1));

    std::array<const char*, MaterialNames.size() + StrengthMaterialNames.size()> materials{};
    std::copy(MaterialNames.begin(), MaterialNames.end(), materials.begin());
    std::copy(StrengthMaterialNames.begin(), StrengthMaterialNames.end(),
              materials.begin() + MaterialNames.size());
    material_ = NamesBox("MaterialFilter", materials, true, this);
    scale_ = NamesBox("ScaleFilter", ScaleNames, false, this);
    device_ = NamesBox("DeviceFilter", ImpactDeviceNames, false, this);

    const auto textBox = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            if (search_)
                search_();
        });
        return edit;
    };
    part_ = textBox("PartFilter");
    lot_ = textBox("LotFilter");
    operator_ = textBox("OperatorFilter");

    verdict_ = new QComboBox(this);
    verdict_->setObjectName(QStringLiteral("VerdictFilter"));
    verdict_->addItem(QString(), -1);
    for (ArchiveVerdict verdict :
         {ArchiveVerdict::Pass, ArchiveVerdict::Fail, ArchiveVerdict::NoLimits})
        verdict_->addItem(ArchiveVerdictText(verdict), static_cast<int>(verdict));

    auto* search = new QPushButton(tr("查找"), this);
    search->setObjectName(QStringLiteral("SearchButton"));
    search->setDefault(true);
    connect(search, &QPushButton::clicked, this, [this] {
        if (search_)
            search_();
    });

    const auto label = [this](const QString& text) { return new QLabel(text, this); };
    grid->addWidget(fromOn_, 0, 0);
    grid->addWidget(from_, 0, 1);
    grid->addWidget(label(tr("材料")), 0, 2);
    grid->addWidget(material_, 0, 3);
    grid->addWidget(label(tr("硬度制")), 0, 4);
    grid->addWidget(scale_, 0, 5);
    grid->addWidget(label(tr("冲击装置")), 0, 6);
    grid->addWidget(device_, 0, 7);
    grid->addWidget(label(tr("判定")), 0, 8);
    grid->addWidget(verdict_, 0, 9);
    grid->addWidget(toOn_, 1, 0);
    grid->addWidget(to_, 1, 1);
    grid->addWidget(label(tr("零件")), 1, 2);
    grid->addWidget(part_, 1, 3);
    grid->addWidget(label(tr("批号")), 1, 4);
    grid->addWidget(lot_, 1, 5);
    grid->addWidget(label(tr("操作员")), 1, 6);
    grid->addWidget(operator_, 1, 7);
    grid->addWidget(search, 1, 9);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    grid->setColumnStretch(7, 1);
}

ArchiveFilter ArchiveFilterBar::Filter() const {
    ArchiveFilter filter;
    if (fromOn_->isChecked())
        filter.From = from_->date().toString(Qt::ISODate).toStdString();
    if (toOn_->isChecked())
        filter.To = to_->date().toString(Qt::ISODate).toStdString();
    filter.Material = ChoiceOf(material_);
    filter.Scale = ChoiceOf(scale_);
    filter.Device = ChoiceOf(device_);
    filter.Part = TextOf(part_);
    filter.Lot = TextOf(lot_);
    filter.Operator = TextOf(operator_);
    if (const int verdict = verdict_->currentData().toInt(); verdict >= 0)
        filter.Verdict = static_cast<ArchiveVerdict>(verdict);
    return filter;
}

}  // namespace leeb
