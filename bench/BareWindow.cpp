// The yardstick of the start-up benchmark: a bare QMainWindow of the window's size, shown, as
// little as a Qt Widgets program can do before its first paint.
//
// With --text it also shows one line of Chinese in the window's font: what the first text of
// any window costs (the font configuration read, a CJK face opened, the line shaped), which the
// bare window never pays.

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(880, 625);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto* line = new QLabel(QStringLiteral("硬度 / 强度测试情况"), &window);
        line->setFont(QFont(QStringLiteral("AR PL UMing CN"), 9));
        line->move(16, 16);
        line->adjustSize();
    }
    window.show();
    return QApplication::exec();
}
