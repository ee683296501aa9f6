#pragma once
// The "Report Status" window shown while pages are generated: "Generating page %p" and a
// Cancel button. Application-modal, so the records cannot change under a running report.

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace leeb {

class ReportStatusWindow : public QDialog {
  public:
    explicit ReportStatusWindow(QWidget* parent = nullptr);

    void SetPage(int page);
    bool Cancelled() const { return cancelled_; }
    QString StatusText() const { return label_->text(); }
    QPushButton* CancelButton() const { return cancel_; }

    // The progress handler of a page writer: shows the page, lets pending events run (the
    // Cancel button among them) and answers whether to go on.
    bool Progress(int page);

    // Escape and the window's close button cancel like the Cancel button.
    void reject() override { cancelled_ = true; }

  private:
    QLabel* label_;
    QPushButton* cancel_;
    int page_ = 0;
    bool cancelled_ = false;
};

}  // namespace leeb
