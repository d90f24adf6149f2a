#pragma once

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <functional>

// Answers every modal box that opens while it lives, so that no window test can hang: a
// message box gets the chosen button, an input box the chosen text. What each box said is
// kept for the test to read. A box it cannot answer is rejected after a bounded number of
// tries. Of several answerers alive at once, the newest answers: a test's own answerer
// answers the boxes it expects, a guard made before it catches the unexpected ones. A test may
// answer message boxes its own way (`act`, for example pressing Enter); a box that stays open
// is then rejected after a bounded number of tries.
class BoxAnswerer : public QObject {
  public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok,
                         QString inputText = QString(), bool acceptInput = true)
        : answer(answer), inputText(std::move(inputText)), acceptInput(acceptInput),
          older(newest()) {
        newest() = this;
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, [this] { poll(); });
        timer.start();
    }
    ~BoxAnswerer() override {
        if (newest() == this)
            newest() = older;
    }

    QStringList texts;
    QStringList titles;
    QList<QMessageBox::Icon> icons;
    QList<QMessageBox::StandardButtons> buttons; // none for an input box
    QStringList offered;                          // the text each input box opened with
    std::function<void(QMessageBox *)> act;

  private:
    static BoxAnswerer *&newest() {
        static BoxAnswerer *answerer = nullptr;
        return answerer;
    }

    void poll() {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || newest() != this)
            return;
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            if (!box->isVisible())
                return;
            if (box == answering) { // still open after `act`
                if (++tries > 50)
                    box->reject();
                return;
            }
            answering = box;
            tries = 0;
            texts << box->text();
            titles << box->windowTitle();
            icons << box->icon();
            buttons << box->standardButtons();
            if (act)
                act(box);
            else if (QAbstractButton *b = box->button(answer))
                b->click();
            else
                box->reject();
        } else if (auto *input = qobject_cast<QInputDialog *>(w)) {
            texts << input->labelText();
            titles << input->windowTitle();
            icons << QMessageBox::NoIcon;
            buttons << QMessageBox::NoButton;
            offered << input->textValue();
            input->setTextValue(inputText);
            acceptInput ? input->accept() : input->reject();
        } else if (++tries > 50) {
            if (auto *dialog = qobject_cast<QDialog *>(w))
                dialog->reject();
            else
                w->close();
            tries = 0;
        }
    }

    QTimer timer;
    QMessageBox::StandardButton answer;
    QString inputText;
    bool acceptInput;
    int tries = 0;
    QPointer<QMessageBox> answering;
    BoxAnswerer *older;
};

// Closes a window, throwing away what a case fund window holds unsaved (否 to the question).
inline void 关闭不保存(QWidget *window) {
    BoxAnswerer discard(QMessageBox::No);
    window->close();
}
