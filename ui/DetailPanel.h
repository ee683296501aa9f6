#pragma once
// Panel5: the settings, count, date and statistics of the record shown, with the direction
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
    // pictograms: ImageList1, indexed as PictogramForDirection and StrengthPictogram give.
    DetailPanel(const std::vector<QPixmap>& pictograms, char decimalSeparator,
                QWidget* parent = nullptr);

    void ShowRecordDetails(const RecordView& record);
    // reclab: "记录号: " followed by text.
    void SetRecordNumberText(const QString& text);

  private:
    QLabel* AddLabel(const char* name, const QString& text, QRect geometry);
    QLabel* AddValuePanel(const char* name, QRect geometry);

    const std::vector<QPixmap>& pictograms_;
    char decimalSeparator_;
    QLabel* reclab_;
    QLabel* label2_;
    QLabel* matel_;
    QLabel* headl_;
    QLabel* maxp_;
    QLabel* hardtypel_;
    QLabel* image3_;
    QLabel* image2_;
    QLabel* minp_;
    QLabel* datemea_;
    QLabel* attackl_;
    QLabel* avgp_;
};

}  // namespace leeb
