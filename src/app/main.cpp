#include "app/main_window.h"
#include "app/qt_translation.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    装入Qt中文翻译();
    // Fusion draws button faces and label colours from the palette on every platform.
    QApplication::setStyle(QStringLiteral("Fusion"));
    Fo工具主页 window;
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.提供恢复(); });
    return app.exec();
}
