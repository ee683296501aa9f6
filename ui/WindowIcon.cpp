#include "WindowIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <optional>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitWindowIconResources() {
    Q_INIT_RESOURCE(windowicon);
}

namespace leeb {

namespace {

// Qt decodes every picture of an icon as it is added; the window's five cost more than the
// rest of its start-up on some platforms, and platforms without a window icon (offscreen,
// Wayland) never look at them. This engine decodes them on the first question asked of them.
class DeferredIconEngine : public QIconEngine {
  public:
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Decoded().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Decoded().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Decoded().pixmap(size, scale, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Decoded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Decoded().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("leebdesk-window-icon"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

  private:
    const QIcon& Decoded() {
        if (!decoded_) {
            InitWindowIconResources();
            decoded_.emplace();
            for (int size : WindowIconSizes) {
                decoded_->addFile(WindowIconResource(size), QSize(size, size));
            }
        }
        return *decoded_;
    }

    std::optional<QIcon> decoded_;
};

}  // namespace

QString WindowIconResource(int size) {
    return QStringLiteral(":/windowicon/leebdesk-%1.png").arg(size);
}

QIcon MakeWindowIcon() {
    return QIcon(new DeferredIconEngine);
}

}  // namespace leeb
