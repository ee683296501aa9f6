#pragma once
// The trend of the records an archive window chose, in a window of its own: the individuals
// and moving-range charts, the histogram and the figures, the filters that chose the records,
// and "打印…" and "保存 PDF…" for the one-page printout with those filters and the date. A click
// on a point hands its record's archive id to whoever opened the window.

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ArchiveRecord.h"
#include "DialogHost.h"
#include "QualitySettings.h"
#include "TrendView.h"

namespace leeb {

struct TrendPageContent;

class TrendWindow : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TrendWindow)

  public:
    // `quality`: the lab row's exclusion setting and limits per scale; `filter`: the archive
    // window's filters that chose `records`. dialogs: null for Qt's own boxes and file dialogs.
    TrendWindow(const std::vector<ArchivedRecord>& records, const QualitySettings& quality,
                const ArchiveFilter& filter, QWidget* parent = nullptr,
                DialogHost* dialogs = nullptr);
    // The same from Archive::TrendRecordsByDate, which reads a large choice several times
    // faster than whole records.
    TrendWindow(std::vector<TrendRecord> records, const QualitySettings& quality,
                const ArchiveFilter& filter, QWidget* parent = nullptr,
                DialogHost* dialogs = nullptr);
    ~TrendWindow() override;

    // Called with the archive id of the record whose point was clicked, on either chart.
    void SetPointClickHandler(std::function<void(int64_t id)> handler);
    // The printer "打印…" uses from now on; a printer with an output file name writes there
    // without asking (tests). Without one, the system's default printer, chosen in Qt's dialog.
    void UsePrinter(std::unique_ptr<QPrinter> printer);

    TrendView* View() const { return view_; }
    QPushButton* PrintButton() const { return print_; }
    QPushButton* SavePdfButton() const { return savePdf_; }
    // The filters as the window and the page word them.
    const QStringList& FilterTexts() const { return filters_; }
    // What the last command did ("已保存 …"), or why it failed.
    QString Feedback() const { return feedback_->text(); }

  private:
    void PrintClicked();
    void SavePdfClicked();
    void SavePdf(const QString& chosenPath);
    TrendPageContent PageContent() const;

    std::unique_ptr<DialogHost> ownDialogs_;
    DialogHost& dialogs_;
    std::unique_ptr<QPrinter> printer_;
    QStringList filters_;
    TrendView* view_;
    QLabel* filterLine_;
    QLabel* feedback_;
    QPushButton* print_;
    QPushButton* savePdf_;
};

}  // namespace leeb
