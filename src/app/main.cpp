#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Orvani");
    QMainWindow window;
    window.setWindowTitle("Orvani");
    window.show();
    return app.exec();
}
