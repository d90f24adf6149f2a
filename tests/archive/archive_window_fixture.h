#pragma once

// The case fund window over a real varnel.db in a folder of its own, for the tests of what the
// archive commands show: every statement recorded, every box answered, the connections checked
// after each test.

#include "archive/case_archive.h"
#include "archive_fixture.h"
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "window_test.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

using Rows = QList<QStringList>;

// A case as the clerk typed it: rows of the payments grid and of the claims grid, the blank
// bottom row of each included.
struct 案例 {
    Rows 交款;
    Rows 债权;
};

const 案例 两笔两项{
    {{"甲公司", "100", "2020-5-10", "首付"}, {"乙", "50.5", "", ""}, {"", "", "", ""}},
    {{"丙", "80", "一般债权", "", "", "备注一"},
     {"丁", "120", "抵押", "100", "", ""},
     {"", "", "", "", "", ""}},
};

bool 含案件连接() {
    for (const QString &name : QSqlDatabase::connectionNames())
        if (name.startsWith(QStringLiteral("varnel-case-db")))
            return true;
    return false;
}

} // namespace

class ArchiveWindowFixture {
  protected:
    template <class T> T *c(const char *name) { return child<T>(w, name); }
    FlexGrid *grid(const char *name) { return c<FlexGrid>(name); }
    QString dbFile() const { return QDir(appDir).filePath(QStringLiteral("varnel.db")); }
    void 填入(const 案例 &data);
    Rows 表内容(const char *name);
    QStringList 命令(const char *action, QMessageBox::StandardButton answer = QMessageBox::Yes,
                     const QString &input = QString(), bool acceptInput = true);
    QStringList 保存新案件(const QString &name) { return 命令("存入内容", QMessageBox::Yes, name); }
    void 列出并选(int row);
    // A case stored by the archive itself, as another copy of the program would store it.
    static void 存案(const QString &name, const 案例 &data) {
        std::unique_ptr<数据库连接> connection;
        打开数据库(connection, 数据库用途::保存);
        QCOMPARE(int(保存案件(*connection, 0, name, {data.交款, data.债权}, {}).结果),
                 int(写入结果::已成));
    }

    Fo案款分配计算 *w = nullptr;
    std::unique_ptr<QTemporaryDir> dir;
    QString appDir;
    QStringList statements;             // every statement in the order run
    std::unique_ptr<BoxAnswerer> guard; // answers any box the test did not expect
    int defaultBusyWait = 0;
    QStringList titles;                          // the captions of the boxes of the last command
    QList<QMessageBox::StandardButtons> buttons; // and their buttons

    // The settings as the program has them, put back after every test.
    void 开始() { defaultBusyWait = 数据库设置::忙等待毫秒; }
    void 准备();
    void 收拾();
};

inline void ArchiveWindowFixture::准备() {
    guard = std::make_unique<BoxAnswerer>();
    dir = std::make_unique<QTemporaryDir>();
    appDir = dir->path();
    QVERIFY(makeCaseDatabase(dbFile()));
    设应用目录(加尾分隔符(QDir::toNativeSeparators(appDir)));
    { 数据库连接 first(dbFile(), 数据库用途::保存); } // the file gains the record of versions
    statements.clear();
    数据库设置::语句记录 = [this](const QString &sql, bool) { statements << sql; };
    w = new Fo案款分配计算;
    w->show();
}

inline void ArchiveWindowFixture::收拾() {
    QVERIFY2(!含案件连接(), "a command left its connection behind");
    关闭不保存(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    数据库设置::语句记录 = nullptr;
    数据库设置::打开方式 = QStringLiteral("rw");
    数据库设置::忙等待毫秒 = defaultBusyWait;
    // A box no test expected fails the test; the guard has answered it.
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

inline void ArchiveWindowFixture::填入(const 案例 &data) {
    auto fill = [](FlexGrid *g, const Rows &rows) {
        g->setRows(1 + int(rows.size()));
        for (int r = 0; r < rows.size(); ++r)
            for (int k = 0; k < rows[r].size(); ++k)
                g->setTextMatrix(r + 1, k, rows[r][k]);
    };
    fill(grid("MSFjk"), data.交款);
    fill(grid("MSFzc"), data.债权);
}

inline Rows ArchiveWindowFixture::表内容(const char *name) {
    return gridRows(grid(name));
}

// Runs a menu command or clicks a button by its name; every box that opens is answered.
inline QStringList ArchiveWindowFixture::命令(const char *name, QMessageBox::StandardButton answer,
                                              const QString &input, bool acceptInput) {
    BoxAnswerer answerer(answer, input, acceptInput);
    if (auto *action = w->findChild<QAction *>(QString::fromUtf8(name)))
        action->trigger();
    else
        c<QPushButton>(name)->click();
    titles = answerer.titles;
    buttons = answerer.buttons;
    return answerer.texts;
}

inline void ArchiveWindowFixture::列出并选(int row) {
    命令("读出内容");
    FlexGrid *list = grid("MSFysj");
    if (row >= 0)
        clickGridCell(list, row, 1);
}
