#include "app/main_window.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    Fo工具主页 window;
    window.show();
    return app.exec();
}
