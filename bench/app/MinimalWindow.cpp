// The start-up baseline: the least a Qt Widgets program does to show a window of Velmor's
// size and title style, started the same way as Velmor.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QWidget window;
    window.setWindowTitle("Velmor minimal window");
    window.setFixedSize(749, 496);
    window.show();
    return app.exec();
}
