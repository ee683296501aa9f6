#include "OutputOptionsDialog.h"

#include <QButtonGroup>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QVBoxLayout>

#include "OutputFileName.h"

namespace leeb {

OutputOptionsDialog::OutputOptionsDialog(QWidget* parent)
    : QDialog(parent),
      printer_(new QRadioButton(tr("打印机(&P)"))),
      preview_(new QRadioButton(tr("预览(&V)"))),
      file_(new QRadioButton(tr("文件 (PDF)(&F)"))),
      printerName_(new QComboBox),
      setup_(new QPushButton(tr("设置(&S)..."))),
      copies_(new QSpinBox),
      collate_(new QCheckBox(tr("逐份打印(&O)"))),
      duplex_(new QComboBox),
      allPages_(new QRadioButton(tr("全部(&A)"))),
      someRange_(new QRadioButton(tr("页码(&G)"))),
      fromPage_(new QSpinBox),
      toPage_(new QSpinBox),
      filePath_(new QLineEdit),
      browse_(new QPushButton(tr("浏览(&B)..."))),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)) {
    setWindowTitle(QStringLiteral("Output Options"));
    setModal(true);

    auto* destinations = new QButtonGroup(this);
    for (QRadioButton* button : {printer_, preview_, file_}) {
        destinations->addButton(button);
    }
    preview_->setChecked(true);
    auto* destinationBox = new QGroupBox(tr("输出到"));
    auto* destinationLayout = new QVBoxLayout(destinationBox);
    destinationLayout->addWidget(printer_);
    destinationLayout->addWidget(preview_);
    destinationLayout->addWidget(file_);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(filePath_);
    fileRow->addWidget(browse_);
    destinationLayout->addLayout(fileRow);

    const QStringList printers = QPrinterInfo::availablePrinterNames();
    printerName_->addItems(printers);
    const QString defaultPrinter = QPrinterInfo::defaultPrinterName();
    if (!defaultPrinter.isEmpty()) {
        printerName_->setCurrentText(defaultPrinter);
    }
    printer_->setEnabled(!printers.isEmpty());

    copies_->setRange(1, 999);
    collate_->setChecked(true);
    duplex_->addItem(tr("无"), QPrinter::DuplexNone);
    duplex_->addItem(tr("长边翻转"), QPrinter::DuplexLongSide);
    duplex_->addItem(tr("短边翻转"), QPrinter::DuplexShortSide);
    allPages_->setChecked(true);
    fromPage_->setRange(1, 99999);
    toPage_->setRange(1, 99999);

    auto* printerBox = new QGroupBox(tr("打印机"));
    auto* printerLayout = new QFormLayout(printerBox);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(printerName_, 1);
    nameRow->addWidget(setup_);
    printerLayout->addRow(tr("名称:"), nameRow);
    printerLayout->addRow(tr("份数:"), copies_);
    printerLayout->addRow(QString(), collate_);
    printerLayout->addRow(tr("双面打印:"), duplex_);

    auto* rangeBox = new QGroupBox(tr("页面范围"));
    auto* rangeLayout = new QHBoxLayout(rangeBox);
    rangeLayout->addWidget(allPages_);
    rangeLayout->addWidget(someRange_);
    rangeLayout->addWidget(fromPage_);
    rangeLayout->addWidget(new QLabel(tr("到")));
    rangeLayout->addWidget(toPage_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(destinationBox);
    layout->addWidget(printerBox);
    layout->addWidget(rangeBox);
    layout->addWidget(buttons_);

    // Return always means OK: a push button that was clicked last would otherwise become the
    // default one, and Return after Browse... would open the file dialog again.
    for (QPushButton* button : {setup_, browse_}) {
        button->setAutoDefault(false);
    }
    OkButton()->setDefault(true);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(destinations, &QButtonGroup::buttonToggled, this, [this] { UpdateState(); });
    connect(someRange_, &QRadioButton::toggled, this, [this] { UpdateState(); });
    connect(filePath_, &QLineEdit::textChanged, this, [this] { UpdateState(); });
    connect(fromPage_, &QSpinBox::valueChanged, this, [this] { UpdateState(); });
    connect(toPage_, &QSpinBox::valueChanged, this, [this] { UpdateState(); });
    connect(printerName_, &QComboBox::currentTextChanged, this, [this] { pageLayout_.reset(); });
    connect(setup_, &QPushButton::clicked, this, [this] { SetupPrinter(); });
    connect(browse_, &QPushButton::clicked, this, [this] { BrowseFile(); });
    UpdateState();
}

void OutputOptionsDialog::UpdateState() {
    const bool toPrinter = printer_->isChecked();
    const bool toFile = file_->isChecked();
    for (QWidget* widget : {static_cast<QWidget*>(printerName_), static_cast<QWidget*>(setup_),
                            static_cast<QWidget*>(copies_), static_cast<QWidget*>(collate_),
                            static_cast<QWidget*>(duplex_)}) {
        widget->setEnabled(toPrinter);
    }
    filePath_->setEnabled(toFile);
    browse_->setEnabled(toFile);
    fromPage_->setEnabled(someRange_->isChecked());
    toPage_->setEnabled(someRange_->isChecked());
    const bool rangeValid = !someRange_->isChecked() || fromPage_->value() <= toPage_->value();
    const bool fileValid = !toFile || !filePath_->text().trimmed().isEmpty();
    OkButton()->setEnabled(rangeValid && fileValid);
}

void OutputOptionsDialog::SetupPrinter() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(printerName_->currentText());
    if (pageLayout_) {
        printer.setPageLayout(*pageLayout_);
    }
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        pageLayout_ = printer.pageLayout();
    }
}

void OutputOptionsDialog::BrowseFile() {
    const QString path = QFileDialog::getSaveFileName(this, tr("报表另存为"), filePath_->text(),
                                                      tr("PDF 文件 (*.pdf)"));
    if (!path.isEmpty()) {
        filePath_->setText(path);
    }
}

void OutputOptionsDialog::OfferDetails(std::function<void()> edit) {
    if (details_ == nullptr) {
        details_ = buttons_->addButton(tr("报表信息(&D)..."), QDialogButtonBox::ActionRole);
        details_->setObjectName(QStringLiteral("Details"));
        // Return keeps meaning OK after the details were edited.
        details_->setAutoDefault(false);
    }
    details_->disconnect();
    connect(details_, &QPushButton::clicked, this, [edit = std::move(edit)] { edit(); });
}

OutputOptions OutputOptionsDialog::Options() const {
    OutputOptions options;
    options.Destination = printer_->isChecked() ? ReportDestination::Printer
                          : file_->isChecked()  ? ReportDestination::File
                                                : ReportDestination::Preview;
    options.PrinterName = printerName_->currentText();
    options.PageLayout = pageLayout_;
    options.Copies = copies_->value();
    options.Collate = collate_->isChecked();
    options.Duplex = static_cast<QPrinter::DuplexMode>(duplex_->currentData().toInt());
    if (someRange_->isChecked()) {
        options.FirstPage = fromPage_->value();
        options.LastPage = toPage_->value();
    }
    // A name without "." gets ".pdf", as the record file's save adds ".txt".
    const QString path = filePath_->text().trimmed();
    options.FilePath = path.isEmpty()
                           ? path
                           : QFile::decodeName(QByteArray::fromStdString(WithDefaultExtension(
                                 QFile::encodeName(path).toStdString(), ".pdf")));
    return options;
}

}  // namespace leeb
