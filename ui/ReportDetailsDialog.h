#pragma once
// "报表信息": the lab's details for the report and the records to print, asked before the
// report's output options once details were filled in (or with Ctrl+Alt+P), and from their
// "报表信息..." button. Continue prints them; Skip prints the report without details; Cancel
// ends the run (from the output options: leaves the run's content as it was).

#include <QCoreApplication>
#include <QDialog>
#include <QString>
#include <cstddef>

#include "ReportContent.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace leeb {

struct ReportDetailsChoice {
    ReportDetails Details;
    QString Records;       // "1-5,9"; empty for every record
    bool Skipped = false;  // no details this time; the remembered ones stay
};

class ReportDetailsDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(ReportDetailsDialog)

  public:
    // recordCount: the records there are, to check a record list against.
    ReportDetailsDialog(const ReportDetailsChoice& proposed, std::size_t recordCount,
                        QWidget* parent = nullptr);

    // Valid after exec(): the details as entered, or none when Skip was pressed.
    ReportDetailsChoice Choice() const;
    bool Skipped() const { return skipped_; }

    // The three standards a hardness test report names most often; the list is editable.
    static const QStringList Standards;

  private:
    QLineEdit* AddLine(const QString& label, const std::string& value, const char* name);
    void Finish(bool skip);

    std::size_t recordCount_;
    bool skipped_ = false;
    QFormLayout* form_;
    QLineEdit* company_;
    QLineEdit* reportNumber_;
    QLineEdit* part_;
    QLineEdit* lot_;
    QLineEdit* operator_;
    QLineEdit* instrument_;
    QComboBox* standard_;
    QLineEdit* remarks_;
    QCheckBox* signatures_;
    QLineEdit* records_;
    QLabel* problem_;
};

}  // namespace leeb
