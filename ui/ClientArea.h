#pragma once
// The window's client area above the status bar. Panel1 keeps the left edge and Panel2 the
// right edge at their design widths; both stretch in height when the window is resized.

#include <QWidget>

namespace leeb {

class ClientArea : public QWidget {
  public:
    explicit ClientArea(QWidget* parent = nullptr) : QWidget(parent) {}
    void SetPanels(QWidget* left, QWidget* right) {
        left_ = left;
        right_ = right;
        PlacePanels();
    }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlacePanels();

    QWidget* left_ = nullptr;
    QWidget* right_ = nullptr;
};

}  // namespace leeb
