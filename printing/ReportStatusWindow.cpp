#include "ReportStatusWindow.h"

#include <QCoreApplication>
#include <QVBoxLayout>

namespace leeb {

ReportStatusWindow::ReportStatusWindow(QWidget* parent)
    : QDialog(parent),
      label_(new QLabel),
      cancel_(new QPushButton(QCoreApplication::translate("ReportStatusWindow", "取消"))) {
    setWindowTitle(QStringLiteral("Report Status"));
    setWindowModality(Qt::ApplicationModal);
    label_->setMinimumWidth(240);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    SetPage(1);
}

void ReportStatusWindow::SetPage(int page) {
    if (page != page_) {
        page_ = page;
        label_->setText(QStringLiteral("Generating page %p")
                            .replace(QStringLiteral("%p"), QString::number(page)));
    }
}

bool ReportStatusWindow::Progress(int page) {
    SetPage(page);
    QCoreApplication::processEvents();
    return !cancelled_;
}

}  // namespace leeb
