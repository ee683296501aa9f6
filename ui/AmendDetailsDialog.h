#pragma once
// "修改信息": corrects the lab details of the archived records chosen in the archive window.
// Each field starts with what the chosen records hold (empty, marked "各不相同", where they
// differ); only a field the user changes is amended, and the reason goes with the new version.

#include <QCoreApplication>
#include <QDialog>
#include <array>
#include <vector>

#include "ArchiveRecord.h"

class QLineEdit;

namespace leeb {

class AmendDetailsDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(AmendDetailsDialog)

  public:
    AmendDetailsDialog(const std::vector<ArchivedRecord>& records, QWidget* parent = nullptr);

    // The fields the user changed.
    ArchiveDetailsChange Change() const;
    QString Reason() const;

  private:
    struct Field {
        QLineEdit* Edit = nullptr;
        QString Initial;
    };
    std::array<Field, 6> fields_;  // part, lot, operator, instrument, standard, remarks
    QLineEdit* reason_ = nullptr;
};

}  // namespace leeb
