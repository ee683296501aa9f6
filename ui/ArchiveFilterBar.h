#pragma once
// The archive window's filters: date range, material, scale, impact device, part, lot,
// operator and verdict. An empty choice leaves its filter unset.

#include <QCoreApplication>
#include <QWidget>
#include <functional>

#include "ArchiveRecord.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;

namespace leeb {

class ArchiveFilterBar : public QWidget {
    Q_DECLARE_TR_FUNCTIONS(ArchiveFilterBar)

  public:
    explicit ArchiveFilterBar(QWidget* parent = nullptr);

    ArchiveFilter Filter() const;
    // Told when the user asks for the records (the search button, Enter in a text).
    void SetSearchListener(std::function<void()> listener) { search_ = std::move(listener); }

  private:
    QCheckBox* fromOn_ = nullptr;
    QCheckBox* toOn_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QComboBox* material_ = nullptr;
    QComboBox* scale_ = nullptr;
    QComboBox* device_ = nullptr;
    QLineEdit* part_ = nullptr;
    QLineEdit* lot_ = nullptr;
    QLineEdit* operator_ = nullptr;
    QComboBox* verdict_ = nullptr;
    std::function<void()> search_;
};

}  // namespace leeb
