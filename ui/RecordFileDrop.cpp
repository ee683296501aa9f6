#include "RecordFileDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "MainWindow.h"

namespace leeb {

namespace {

class DropFilter : public QObject {
  public:
    explicit DropFilter(MainWindow& form) : QObject(&form), form_(form) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDropEvent*>(event);
                if (Acceptable(drag->mimeData()))
                    drag->acceptProposedAction();
                else
                    drag->ignore();
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                if (!Acceptable(drop->mimeData())) {
                    drop->ignore();
                    return true;
                }
                drop->acceptProposedAction();
                // Opened after the drop has ended: a message box inside the drop would keep
                // the file manager's drag waiting.
                const QString path = *DroppedFile(drop->mimeData());
                QTimer::singleShot(0, &form_, [form = &form_, path] {
                    if (form->Button(CommandButton::Open)->isEnabled())
                        form->RunCommand([form, path] { form->OpenRecordFile(path); });
                });
                return true;
            }
            default:
                return QObject::eventFilter(watched, event);
        }
    }

  private:
    bool Acceptable(const QMimeData* data) const {
        return form_.Button(CommandButton::Open)->isEnabled() && DroppedFile(data).has_value();
    }

    MainWindow& form_;
};

}  // namespace

std::optional<QString> DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    const QString path = urls.front().toLocalFile();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void InstallRecordFileDrop(MainWindow& form) {
    form.setAcceptDrops(true);
    form.installEventFilter(new DropFilter(form));
}

}  // namespace leeb
