#pragma once
// The detail panel: the settings, count, date and statistics of the record shown, with the direction
// and strength pictograms.

#include <QCoreApplication>
#include <QFrame>
#include <QPixmap>
#include <vector>

#include "RecordView.h"

class QLabel;

namespace leeb {

class DetailPanel : public QFrame {
    Q_DECLARE_TR_FUNCTIONS(DetailPanel)

  public:
    DetailPanel(char decimalSeparator, QWidget* parent = nullptr);

    void ShowRecordDetails(const RecordView& record);
    // The record number box: "记录号: " followed by text.
    void SetRecordNumberText(const QString& text);

  private:
    QLabel* AddLabel(const char* name, const QString& text, QRect geometry);
    QLabel* AddValuePanel(const char* name, QRect geometry);
    // The direction and strength pictures, indexed as PictogramForDirection and
    // StrengthPictogram give; an empty picture for any other index.
    QPixmap PictogramAt(int index);

    std::vector<QPixmap> pictograms_;
    char decimalSeparator_;
    QLabel* recordNumber_;
    QLabel* scaleCaption_;
    QLabel* material_;
    QLabel* impactDevice_;
    QLabel* maximum_;
    QLabel* scale_;
    QLabel* strengthPicture_;
    QLabel* directionPicture_;
    QLabel* minimum_;
    QLabel* date_;
    QLabel* impactCount_;
    QLabel* mean_;
};

}  // namespace leeb
