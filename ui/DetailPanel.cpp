#include "DetailPanel.h"

#include <QLabel>

#include "CodeTableText.h"
#include "DirectionPictograms.h"

namespace leeb {

namespace {

const char* const RecordNumberCaption = QT_TRANSLATE_NOOP("DetailPanel", "记录号: ");
const QColor Teal(0, 128, 128);

QPixmap PictogramAt(const std::vector<QPixmap>& pictograms, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= pictograms.size())
        return {};
    return pictograms[static_cast<std::size_t>(index)];
}

}  // namespace

DetailPanel::DetailPanel(const std::vector<QPixmap>& pictograms, char decimalSeparator,
                         QWidget* parent)
    : QFrame(parent), pictograms_(pictograms), decimalSeparator_(decimalSeparator) {
    setObjectName(QStringLiteral("Panel5"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);

    auto* panel9 = new QFrame(this);
    panel9->setObjectName(QStringLiteral("Panel9"));
    panel9->setGeometry(16, 8, 105, 30);
    panel9->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel9->setAutoFillBackground(true);
    QPalette teal = panel9->palette();
    teal.setColor(QPalette::Window, Teal);
    teal.setColor(QPalette::WindowText, Qt::white);
    panel9->setPalette(teal);
    reclab_ = new QLabel(tr(RecordNumberCaption), panel9);
    reclab_->setObjectName(QStringLiteral("reclab"));
    reclab_->setGeometry(8, 8, 81, 13);

    AddLabel("Label1", tr("测量材料"), {16, 56, 65, 17});
    matel_ = AddValuePanel("matel", {80, 44, 105, 30});
    AddLabel("Label9", tr("冲击装置"), {16, 92, 65, 13});
    headl_ = AddValuePanel("headl", {80, 82, 105, 30});
    AddLabel("Label5", tr("最大值"), {16, 128, 57, 13});
    maxp_ = AddValuePanel("maxp", {80, 120, 105, 30});

    label2_ = AddLabel("Label2", tr("硬度制"), {208, 57, 57, 14});
    hardtypel_ = AddValuePanel("hardtypel", {288, 44, 105, 30});
    image3_ = new QLabel(hardtypel_);
    image3_->setObjectName(QStringLiteral("Image3"));
    image3_->setGeometry(32, 0, 41, 33);
    image3_->setAlignment(Qt::AlignCenter);
    image3_->hide();

    AddLabel("Label3", tr("冲击方向"), {208, 92, 65, 13});
    auto* panel15 = new QFrame(this);
    panel15->setObjectName(QStringLiteral("Panel15"));
    panel15->setGeometry(288, 82, 105, 30);
    panel15->setFrameStyle(QFrame::Panel | QFrame::Raised);
    image2_ = new QLabel(panel15);
    image2_->setObjectName(QStringLiteral("Image2"));
    image2_->setGeometry(33, 1, 32, 28);
    image2_->setAlignment(Qt::AlignCenter);

    AddLabel("minl", tr("最小值"), {208, 128, 65, 13});
    minp_ = AddValuePanel("minp", {288, 120, 105, 30});
    AddLabel("Label8", tr("测量日期"), {424, 56, 65, 13});
    datemea_ = AddValuePanel("datemea", {504, 44, 105, 30});
    AddLabel("Label4", tr("冲击次数"), {424, 88, 65, 13});
    attackl_ = AddValuePanel("attackl", {504, 82, 105, 30});
    AddLabel("avgl", tr("平均值"), {424, 129, 49, 13});
    avgp_ = AddValuePanel("avgp", {504, 120, 105, 30});
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
    reclab_->setText(tr(RecordNumberCaption) + text);
}

void DetailPanel::ShowRecordDetails(const RecordView& record) {
    const DecodedSettings& s = record.Settings;
    // Directions 5..7 have no pictogram: the picture is cleared so that it never shows the
    // direction of a record shown earlier.
    QPixmap direction = PictogramAt(pictograms_, PictogramForDirection(s.ImpactDirection));
    if (direction.width() > image2_->width() || direction.height() > image2_->height()) {
        direction =
            direction.scaled(image2_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    image2_->setPixmap(direction);
    image2_->repaint();

    matel_->setText(CodeTableText(MaterialText(s)));
    if (s.StrengthMode == 1) {
        label2_->setText(tr("强度"));
        hardtypel_->clear();
        image3_->setPixmap(PictogramAt(pictograms_, StrengthPictogram));
        image3_->show();
    } else {
        label2_->setText(tr("硬度制"));
        image3_->hide();
        hardtypel_->setText(CodeTableText(ScaleText(s)));
    }
    attackl_->setText(QString::number(record.ImpactCount));
    headl_->setText(CodeTableText(ImpactDeviceText(s)));
    maxp_->setText(QString::fromStdString(record.Statistics.MaxText(decimalSeparator_)));
    minp_->setText(QString::fromStdString(record.Statistics.MinText(decimalSeparator_)));
    avgp_->setText(QString::fromStdString(record.Statistics.PanelMeanText(decimalSeparator_)));
    datemea_->setText(QString::fromStdString(record.DateText));
}

}  // namespace leeb
