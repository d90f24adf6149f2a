// Start-up time of the main window against a bare Qt window, both made, shown and painted for
// the first time in one process. Prints both medians and their ratio.
#include "app/main_window.h"
#include "timing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

class PaintProbe : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Makes a window, shows it and waits for its first paint; returns milliseconds.
double timeFirstPaint(const std::function<QWidget *()> &make) {
    QElapsedTimer t;
    t.start();
    QWidget *w = make();
    PaintProbe probe;
    w->installEventFilter(&probe);
    w->show();
    while (!probe.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = t.nsecsElapsed() / 1e6;
    delete w;
    QCoreApplication::processEvents();
    return ms;
}

// The same window made with plain Qt calls: four coloured buttons, two labels, white ground.
QWidget *bareWindow() {
    auto *w = new QWidget;
    w->setFixedSize(400, 240);
    QPalette white = w->palette();
    white.setColor(QPalette::Window, Qt::white);
    w->setPalette(white);
    w->setAutoFillBackground(true);
    const char *captions[] = {"诉讼费计算", "案款分配计算", "刑期计算", "关于软件"};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QPushButton(QString::fromUtf8(captions[i]), w);
        b->setGeometry(152, 40 + 32 * i, 93, 25);
        QPalette p = b->palette();
        p.setColor(QPalette::Button, i < 3 ? QColor(0, 192, 192) : QColor(255, 255, 192));
        b->setPalette(p);
    }
    auto *link = new QLabel(QStringLiteral("https://varnel.example.org/"), w);
    link->move(32, 200);
    QFont f = link->font();
    f.setUnderline(true);
    link->setFont(f);
    auto *maker = new QLabel(QStringLiteral("Varnel 法院办公工具"), w);
    maker->setGeometry(48, 104, 96, 40);
    maker->setWordWrap(true);
    return w;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const int runs = 201;
    std::vector<double> bare, varnel;
    // One warm-up each, so that fonts and the platform are loaded before timing.
    timeFirstPaint(bareWindow);
    timeFirstPaint([] { return new Fo工具主页; });
    for (int i = 0; i < runs; ++i) {
        bare.push_back(timeFirstPaint(bareWindow));
        varnel.push_back(timeFirstPaint([] { return new Fo工具主页; }));
    }
    const double b = 中位数(bare), v = 中位数(varnel);
    std::printf("bare Qt window:  %.3f ms\nVarnel main window: %.3f ms\nratio: %.2f\n", b, v,
                v / b);
    return 0;
}
