#include "common/message_box.h"

#include "common/varnel_error.h"

#include <QApplication>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace {

// A short message ("保存成功！") makes a box so narrow that the window's title bar has no room for
// its caption beside the bar's buttons: a spacer across the box keeps it at least that wide,
// while a long message still widens and wraps as the box sizes itself.
void 宽到标题可见(QMessageBox &box) {
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(200, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

namespace 消息框 {

QWidget *所属窗口() {
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    QWidget *shown = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w->isVisible() && !w->isMinimized() && (type == Qt::Window || type == Qt::Dialog))
            shown = w;
    }
    return shown;
}

void 提示(const QString &text, const QString &caption, bool 无图标) {
    if (应答器) {
        应答器(框类::提示, text, caption);
        return;
    }
    QMessageBox box(无图标 ? QMessageBox::NoIcon : QMessageBox::Information, caption, text,
                    QMessageBox::Ok, 所属窗口());
    box.setObjectName(QStringLiteral("消息框"));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    宽到标题可见(box);
    box.exec();
}

bool 是否(const QString &text, const QString &caption, 默认钮 默认) {
    if (应答器)
        return 应答器(框类::是否, text, caption).是;
    // An empty caption would be replaced by the program's name: a blank keeps the bar empty.
    QMessageBox box(QMessageBox::NoIcon, caption.isEmpty() ? QStringLiteral(" ") : caption, text,
                    QMessageBox::Yes | QMessageBox::No, 所属窗口());
    box.setObjectName(QStringLiteral("消息框"));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    box.setDefaultButton(默认 == 默认钮::否 ? QMessageBox::No : QMessageBox::Yes);
    宽到标题可见(box);
    return box.exec() == QMessageBox::Yes;
}

三答 是否取消(const QString &text, const QString &caption) {
    if (应答器) {
        const 框应答 answer = 应答器(框类::是否取消, text, caption);
        return answer.是 ? 三答::是 : answer.文本 == QStringLiteral("取消") ? 三答::取消 : 三答::否;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    所属窗口());
    box.setObjectName(QStringLiteral("消息框"));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    宽到标题可见(box);
    const int answer = box.exec();
    return answer == QMessageBox::Yes ? 三答::是 : answer == QMessageBox::No ? 三答::否 : 三答::取消;
}

bool 重试取消(const QString &text, const QString &caption) {
    if (应答器)
        return 应答器(框类::重试取消, text, caption).是;
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Retry | QMessageBox::Cancel,
                    所属窗口());
    box.setObjectName(QStringLiteral("消息框"));
    box.button(QMessageBox::Retry)->setText(QStringLiteral("重试(&R)"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    box.setDefaultButton(QMessageBox::Retry);
    box.setEscapeButton(QMessageBox::Cancel);
    宽到标题可见(box);
    return box.exec() == QMessageBox::Retry;
}

QString 输入(const QString &prompt, const QString &caption, bool *ok, const QString &preset) {
    if (应答器) {
        const 框应答 answer = 应答器(框类::输入, prompt, caption);
        if (ok)
            *ok = answer.是;
        if (!answer.是)
            return QString();
        return answer.文本.isNull() ? preset : answer.文本;
    }
    QInputDialog dialog(所属窗口());
    dialog.setObjectName(QStringLiteral("输入框"));
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(preset);
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? dialog.textValue() : QString();
}

} // namespace 消息框

bool 捕获错误(const std::function<void()> &body) {
    try {
        body();
        return true;
    } catch (const VarnelError &e) {
        消息框::提示(e.description());
    } catch (const std::bad_alloc &) {
        消息框::提示(QStringLiteral("内存不足"));
    } catch (const std::exception &e) {
        消息框::提示(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

QString 引述(const QString &text) {
    constexpr int 最长 = 50;
    return text.size() <= 最长 ? text : text.left(最长) + QStringLiteral("…");
}
