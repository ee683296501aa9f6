#include "TrendWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QVBoxLayout>
#include <exception>

#include "ArchiveTrend.h"
#include "ErrorText.h"
#include "OutputFileName.h"
#include "QtDialogHost.h"
#include "TrendPage.h"
#include "TrendText.h"

namespace leeb {

namespace {

DialogHost& HostOrOwn(DialogHost* given, std::unique_ptr<DialogHost>& own, QWidget* parent) {
    if (given != nullptr)
        return *given;
    own = std::make_unique<QtDialogHost>(parent);
    return *own;
}

}  // namespace

TrendWindow::TrendWindow(const std::vector<ArchivedRecord>& records, const QualitySettings& quality,
                         const ArchiveFilter& filter, QWidget* parent, DialogHost* dialogs)
    : TrendWindow(TrendRecordsOf(records), quality, filter, parent, dialogs) {}

TrendWindow::TrendWindow(std::vector<TrendRecord> records, const QualitySettings& quality,
                         const ArchiveFilter& filter, QWidget* parent, DialogHost* dialogs)
    : QDialog(parent),
      dialogs_(HostOrOwn(dialogs, ownDialogs_, this)),
      filters_(ArchiveFilterTexts(filter)),
      view_(new TrendView(this)),
      filterLine_(new QLabel(this)),
      feedback_(new QLabel(this)),
      print_(new QPushButton(tr("打印…"), this)),
      savePdf_(new QPushButton(tr("保存 PDF…"), this)) {
    setObjectName(QStringLiteral("TrendWindow"));
    filterLine_->setObjectName(QStringLiteral("TrendFilters"));
    feedback_->setObjectName(QStringLiteral("TrendFeedback"));
    print_->setObjectName(QStringLiteral("TrendPrint"));
    savePdf_->setObjectName(QStringLiteral("TrendSavePdf"));
    // A window beside the archive window and the main one, not a box in front of them.
    setWindowFlags(Qt::Window);
    setModal(false);
    setSizeGripEnabled(true);

    filterLine_->setWordWrap(true);
    filterLine_->setText(tr("筛选条件: %1")
                             .arg(filters_.isEmpty() ? tr("无 (档案中全部记录)")
                                                     : filters_.join(QStringLiteral("; "))));
    feedback_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Return in the window must not print: neither button is the dialog's default.
    print_->setAutoDefault(false);
    savePdf_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(feedback_, 1);
    buttons->addWidget(print_);
    buttons->addWidget(savePdf_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filterLine_);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);

    connect(print_, &QPushButton::clicked, this, &TrendWindow::PrintClicked);
    connect(savePdf_, &QPushButton::clicked, this, &TrendWindow::SavePdfClicked);

    view_->ShowRecords(std::move(records), quality);
    print_->setEnabled(view_->Charted());
    savePdf_->setEnabled(view_->Charted());
    setWindowTitle(view_->Charted()
                       ? tr("趋势与过程能力 - %1").arg(TrendKindText(view_->ShownSeries().Kind))
                       : tr("趋势与过程能力"));
    resize(1100, 720);
}

TrendWindow::~TrendWindow() = default;

void TrendWindow::SetPointClickHandler(std::function<void(int64_t)> handler) {
    view_->SetPointClickHandler(std::move(handler));
}

void TrendWindow::UsePrinter(std::unique_ptr<QPrinter> printer) {
    printer_ = std::move(printer);
}

TrendPageContent TrendWindow::PageContent() const {
    TrendPageContent content;
    content.Series = view_->ShownSeries();
    content.Figures = view_->ShownFigures();
    content.Limits = view_->ShownLimits();
    content.Filters = filters_;
    return content;
}

void TrendWindow::PrintClicked() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const bool toFile = !printer_->outputFileName().isEmpty();
    // Without a printer installed Qt's printer takes the page without a word; the user must
    // learn that nothing will come out, and may keep the page as a PDF instead.
    if (!toFile && printer_->printerName().isEmpty()) {
        const int answer = dialogs_.AskQuestion(
            tr("没有可用的打印机: 请先在系统中添加一台打印机。\n也可以把趋势图另存为 PDF 文件。"),
            tr("打印趋势图"), {tr("另存为 PDF..."), tr("取消")});
        if (answer == 0)
            SavePdfClicked();
        return;
    }
    if (!toFile) {
        QPrintDialog choice(printer_.get(), this);
        if (choice.exec() != QDialog::Accepted)
            return;
    }
    try {
        PrintTrendPage(PageContent(), *printer_);
    } catch (const std::exception& error) {
        feedback_->setText(QString());
        dialogs_.MessageBox(ErrorText::Of(error), tr("打印趋势图"), MB_OK | MB_ICONERROR);
        return;
    }
    feedback_->setText(
        toFile ? tr("已保存 %1").arg(QDir::toNativeSeparators(printer_->outputFileName()))
               : tr("趋势图已送往打印机 %1").arg(printer_->printerName()));
}

void TrendWindow::SavePdfClicked() {
    const std::optional<SaveFileChoice> chosen = dialogs_.GetSaveFileName(tr("PDF 文件 (*.pdf)"));
    if (!chosen || chosen->Path.isEmpty())
        return;
    SavePdf(chosen->Path);
}

void TrendWindow::SavePdf(const QString& chosenPath) {
    const QString path = QFile::decodeName(QByteArray::fromStdString(
        WithDefaultExtension(QFile::encodeName(chosenPath).toStdString(), ".pdf")));
    if (QFileInfo::exists(path) &&
        dialogs_.MessageBox(tr("文件名已存在!\n你要替换现在文件吗?"), tr("文件名重复"),
                            MB_YESNO | MB_ICONQUESTION) == IDNO) {
        return;
    }
    try {
        WriteTrendPdf(PageContent(), path);
    } catch (const std::exception& error) {
        feedback_->setText(QString());
        dialogs_.MessageBox(ErrorText::Of(error), tr("保存 PDF"), MB_OK | MB_ICONERROR);
        return;
    }
    feedback_->setText(tr("已保存 %1").arg(QDir::toNativeSeparators(path)));
}

}  // namespace leeb
