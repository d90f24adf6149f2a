#pragma once

#include "fee/fee_window.h"
#include "settings_dir.h"

#include <QListWidget>
#include <QTest>
#include <QTimer>

// A fee window shown, its arrow timer stopped: the tests drive the ticks themselves. The window
// reads the office's settings from the test program's own folder.
inline Fo诉讼费计算 *打开费用窗口() {
    测试设置文件夹();
    auto *w = new Fo诉讼费计算;
    w->Timer1->stop();
    w->show();
    if (!QTest::qWaitForWindowExposed(w))
        qWarning("window not exposed");
    return w;
}

// Chooses a case type by a click on its item, as the clerk does.
inline void 点选类型(Fo诉讼费计算 *w, const QString &type) {
    auto *list = w->findChild<QListWidget *>(QStringLiteral("List1"));
    const auto items = list->findItems(type, Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.first()).center());
    QCOMPARE(list->selectedItems().value(0), items.first());
}
