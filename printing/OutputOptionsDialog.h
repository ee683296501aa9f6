#pragma once
// The modal "Output Options" dialog of a report run: destination (printer, preview or file;
// preview first), the printer and its setup, copies, collation, duplex and page range.

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <functional>
#include <optional>

namespace leeb {

enum class ReportDestination { Printer, Preview, File };

struct OutputOptions {
    ReportDestination Destination = ReportDestination::Preview;
    QString PrinterName;                    // empty: the system's default printer
    std::optional<QPageLayout> PageLayout;  // set by the printer setup
    int Copies = 1;
    bool Collate = true;
    QPrinter::DuplexMode Duplex = QPrinter::DuplexNone;
    int FirstPage = 0;  // 0 and 0: all pages
    int LastPage = 0;
    QString FilePath;  // the PDF of the file destination; ".pdf" added to a name without "."
};

class OutputOptionsDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(OutputOptionsDialog)

  public:
    explicit OutputOptionsDialog(QWidget* parent = nullptr);

    OutputOptions Options() const;

    // Adds "报表信息..." beside OK and Cancel; a press calls `edit`, the dialog stays open.
    void OfferDetails(std::function<void()> edit);
    QPushButton* DetailsButton() const { return details_; }

    // The controls, for driving the dialog in tests.
    QRadioButton* PrinterButton() const { return printer_; }
    QRadioButton* PreviewButton() const { return preview_; }
    QRadioButton* FileButton() const { return file_; }
    QLineEdit* FilePathEdit() const { return filePath_; }
    QRadioButton* PageRangeButton() const { return someRange_; }
    QSpinBox* FromPageBox() const { return fromPage_; }
    QSpinBox* ToPageBox() const { return toPage_; }
    QSpinBox* CopiesBox() const { return copies_; }
    QPushButton* OkButton() const { return buttons_->button(QDialogButtonBox::Ok); }
    QPushButton* CancelButton() const { return buttons_->button(QDialogButtonBox::Cancel); }

  private:
    void UpdateState();
    void SetupPrinter();
    void BrowseFile();

    QRadioButton* printer_;
    QRadioButton* preview_;
    QRadioButton* file_;
    QComboBox* printerName_;
    QPushButton* setup_;
    QSpinBox* copies_;
    QCheckBox* collate_;
    QComboBox* duplex_;
    QRadioButton* allPages_;
    QRadioButton* someRange_;
    QSpinBox* fromPage_;
    QSpinBox* toPage_;
    QLineEdit* filePath_;
    QPushButton* browse_;
    QDialogButtonBox* buttons_;
    QPushButton* details_ = nullptr;
    std::optional<QPageLayout> pageLayout_;
};

}  // namespace leeb
