#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace leeb {

namespace {

const QScreen* ScreenOf(const QWidget& window) {
    if (const QScreen* screen = window.screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

}  // namespace

QRect FitFrameOnScreen(QRect frame, const QRect& available) {
    if (!available.isValid())
        return frame;
    frame.setWidth(std::min(frame.width(), available.width()));
    frame.setHeight(std::min(frame.height(), available.height()));
    frame.moveLeft(
        std::clamp(frame.left(), available.left(), available.right() - frame.width() + 1));
    frame.moveTop(
        std::clamp(frame.top(), available.top(), available.bottom() - frame.height() + 1));
    return frame;
}

QMargins FrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins known(inner.left() - frame.left(), inner.top() - frame.top(),
                         frame.right() - inner.right(), frame.bottom() - inner.bottom());
    if (!known.isNull() || !window.isWindow())
        return known;
    // Not framed yet (or a platform without frames): assume a title bar and thin borders.
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return {4, title + 4, 4, 4};
}

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr)
        return;
    const QMargins margins = FrameMargins(window);
    QRect frame = window.geometry().marginsAdded(margins);
    frame.moveCenter(screen->availableGeometry().center());
    frame = FitFrameOnScreen(frame, screen->availableGeometry());
    const QRect inner = frame.marginsRemoved(margins);
    window.setMinimumSize(window.minimumSize().boundedTo(inner.size()));
    window.setGeometry(inner);
}

void KeepOnScreen(QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr)
        return;
    const QMargins margins = FrameMargins(window);
    const QRect frame = window.geometry().marginsAdded(margins);
    const QRect fitted = FitFrameOnScreen(frame, screen->availableGeometry());
    if (fitted == frame)
        return;
    const QRect inner = fitted.marginsRemoved(margins);
    window.setMinimumSize(window.minimumSize().boundedTo(inner.size()));
    window.setGeometry(inner);
}

}  // namespace leeb
