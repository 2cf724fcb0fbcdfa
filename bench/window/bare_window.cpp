// The baseline of the window benchmarks: the least a Qt Widgets program does to show a window
// of the player's size. Closes (and ends) on the window manager's close request.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral(" Bare Window"));
    window.setFixedSize(314, 404);
    window.show();
    return app.exec();
}
