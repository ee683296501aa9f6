#include "DetailPanel.h"

#include <QLabel>

#include "CodeTableText.h"
#include "DirectionPictograms.h"

namespace leeb {

namespace {

const char* const RecordNumberCaption = QT_TRANSLATE_NOOP("DetailPanel", "记录号: ");
const QColor Teal(0, 128, 128);

}  // namespace

QPixmap DetailPanel::PictogramAt(int index) {
    // Decoded when a record is first shown, not while the window starts: the empty panel
    // shows none of them.
    if (pictograms_.empty()) {
        InitPictogramResources();
        pictograms_.reserve(PictogramCount);
        for (int i = 0; i < PictogramCount; ++i)
            pictograms_.emplace_back(QString::fromStdString(DirectionPictogramResource(i)));
    }
    if (index < 0 || static_cast<std::size_t>(index) >= pictograms_.size())
        return {};
    return pictograms_[static_cast<std::size_t>(index)];
}

DetailPanel::DetailPanel(char decimalSeparator, QWidget* parent)
    : QFrame(parent), decimalSeparator_(decimalSeparator) {
    setObjectName(QStringLiteral("Panel5"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);

    auto* recordNumberBox = new QFrame(this);
    recordNumberBox->setObjectName(QStringLiteral("Panel9"));
    recordNumberBox->setGeometry(16, 8, 105, 30);
    recordNumberBox->setFrameStyle(QFrame::Panel | QFrame::Raised);
    recordNumberBox->setAutoFillBackground(true);
    QPalette teal = recordNumberBox->palette();
    teal.setColor(QPalette::Window, Teal);
    teal.setColor(QPalette::WindowText, Qt::white);
    recordNumberBox->setPalette(teal);
    recordNumber_ = new QLabel(tr(RecordNumberCaption), recordNumberBox);
    recordNumber_->setObjectName(QStringLiteral("reclab"));
    recordNumber_->setGeometry(8, 8, 81, 13);

    AddLabel("Label1", tr("测量材料"), {16, 56, 65, 17});
    material_ = AddValuePanel("matel", {80, 44, 105, 30});
    AddLabel("Label9", tr("冲击装置"), {16, 92, 65, 13});
    impactDevice_ = AddValuePanel("headl", {80, 82, 105, 30});
    AddLabel("Label5", tr("最大值"), {16, 128, 57, 13});
    maximum_ = AddValuePanel("maxp", {80, 120, 105, 30});

    scaleCaption_ = AddLabel("Label2", tr("硬度制"), {208, 57, 57, 14});
    scale_ = AddValuePanel("hardtypel", {288, 44, 105, 30});
    strengthPicture_ = new QLabel(scale_);
    strengthPicture_->setObjectName(QStringLiteral("Image3"));
    strengthPicture_->setGeometry(32, 0, 41, 33);
    strengthPicture_->setAlignment(Qt::AlignCenter);
    strengthPicture_->hide();

    AddLabel("Label3", tr("冲击方向"), {208, 92, 65, 13});
    auto* directionBox = new QFrame(this);
    directionBox->setObjectName(QStringLiteral("Panel15"));
    directionBox->setGeometry(288, 82, 105, 30);
    directionBox->setFrameStyle(QFrame::Panel | QFrame::Raised);
    directionPicture_ = new QLabel(directionBox);
    directionPicture_->setObjectName(QStringLiteral("Image2"));
    directionPicture_->setGeometry(33, 1, 32, 28);
    directionPicture_->setAlignment(Qt::AlignCenter);

    AddLabel("minl", tr("最小值"), {208, 128, 65, 13});
    minimum_ = AddValuePanel("minp", {288, 120, 105, 30});
    AddLabel("Label8", tr("测量日期"), {424, 56, 65, 13});
    date_ = AddValuePanel("datemea", {504, 44, 105, 30});
    AddLabel("Label4", tr("冲击次数"), {424, 88, 65, 13});
    impactCount_ = AddValuePanel("attackl", {504, 82, 105, 30});
    AddLabel("avgl", tr("平均值"), {424, 129, 49, 13});
    mean_ = AddValuePanel("avgp", {504, 120, 105, 30});
}

QLabel* DetailPanel::AddLabel(const char* name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QLabel* DetailPanel::AddValuePanel(const char* name, QRect geometry) {
    auto* panel = new QLabel(this);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAlignment(Qt::AlignCenter);
    return panel;
}

void DetailPanel::SetRecordNumberText(const QString& text) {
    recordNumber_->setText(tr(RecordNumberCaption) + text);
}

void DetailPanel::ShowRecordDetails(const RecordView& record) {
    const DecodedSettings& s = record.Settings;
    // Directions 5..7 have no pictogram: the picture is cleared so that it never shows the
    // direction of a record shown earlier.
    QPixmap direction = PictogramAt(PictogramForDirection(s.ImpactDirection));
    if (direction.width() > directionPicture_->width() || direction.height() > directionPicture_->height()) {
        direction =
            direction.scaled(directionPicture_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    directionPicture_->setPixmap(direction);
    directionPicture_->repaint();

    material_->setText(CodeTableText(MaterialText(s)));
    if (s.StrengthMode == 1) {
        scaleCaption_->setText(tr("强度"));
        scale_->clear();
        strengthPicture_->setPixmap(PictogramAt(StrengthPictogram));
        strengthPicture_->show();
    } else {
        scaleCaption_->setText(tr("硬度制"));
        strengthPicture_->hide();
        scale_->setText(CodeTableText(ScaleText(s)));
    }
    impactCount_->setText(QString::number(record.ImpactCount));
    impactDevice_->setText(CodeTableText(ImpactDeviceText(s)));
    maximum_->setText(QString::fromStdString(record.Statistics.MaxText(decimalSeparator_)));
    minimum_->setText(QString::fromStdString(record.Statistics.MinText(decimalSeparator_)));
    mean_->setText(QString::fromStdString(record.Statistics.PanelMeanText(decimalSeparator_)));
    date_->setText(QString::fromStdString(record.DateText));
}

}  // namespace leeb
