// The yardstick of the start-up benchmark: a bare QMainWindow of the window's size, shown, as
// little as a Qt Widgets program can do before its first paint.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(880, 625);
    window.show();
    return QApplication::exec();
}
