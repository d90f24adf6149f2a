// The case fund window's archive commands: save the case on screen, list the stored cases,
// load one, delete the loaded one. The window asks and tells; the archive (case_archive.h) does.
#include "archive/case_archive.h"
#include "archive/sql_text.h"
#include "casefund/case_fund_window.h"
#include "casefund/case_list_filter.h"
#include "casefund/version_windows.h"
#include "common/busy_cursor.h"
#include "common/cell_text.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/number_text.h"
#include "common/varnel_error.h"
#include "common/window_events.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

#include <utility>

namespace {

const QString 提示标题 = QStringLiteral("提示");
const QString 名称重复 = QStringLiteral("名称重复，不能保存，请改变名称保存！");
const QString 不在库中 = QStringLiteral("这个案件已经不在案件数据库中，可能已被删除。");

// After a save, each table's current row is its last, where writing its rows ended.
void 到末行(FlexGrid &grid) {
    if (grid.Rows() > 1)
        grid.setRow(grid.Rows() - 1);
}

} // namespace

// Fills a grid, emptied to its header row, with stored rows: one row added and made current per
// row, each cell left-aligned and written unless it is empty.
void Fo案款分配计算::填表(FlexGrid &grid, const QList<QStringList> &rows, int columns) {
    for (const QStringList &row : rows) {
        grid.setRows(grid.Rows() + 1);
        grid.setRow(grid.Rows() - 1);
        for (int k = 0; k < columns; ++k) {
            grid.setCol(k);
            grid.当前格左对齐();
            if (!row.value(k).isEmpty())
                grid.setText(row.value(k));
        }
    }
}

void Fo案款分配计算::连接案件命令() {
    connect(存入内容, &QAction::triggered, this, [this] {
        if (可离开编辑器())
            存入命令();
    });
    connect(读出内容, &QAction::triggered, this, [this] {
        if (可离开编辑器())
            捕获错误([this] { 列出(); });
    });
    connect(历史版本, &QAction::triggered, this, [this] {
        if (可离开编辑器())
            打开历史版本();
    });
    connect(已删除的案件, &QAction::triggered, this, [this] {
        if (可离开编辑器())
            打开已删除案件();
    });
    connect(Com确定, &QPushButton::clicked, this, [this] { 确定载入(); });
    connect(Txt案件筛选, &QLineEdit::textChanged, this,
            [this](const QString &text) { 筛选案件列表(*MSFysj, text); });
    connect(Txt案件筛选, &QLineEdit::returnPressed, Com确定, &QPushButton::click);
    筛选框通到列表(*Txt案件筛选, *MSFysj);
    MSFysj->设单击([this] { 确定载入(); }); // a click on a case loads it, as 确定 does
    // A case picked in the list with the arrow keys is the one 确定 loads.
    connect(MSFysj, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row >= 0 && row + MSFysj->FixedRows() < MSFysj->Rows())
            MSFysj->setRow(row + MSFysj->FixedRows());
        // Moving to a row scrolls the wide name column into view; the names start at the left.
        QTimer::singleShot(0, MSFysj, [this] { MSFysj->horizontalScrollBar()->setValue(0); });
    });
    connect(Com删除案件, &QPushButton::clicked, this, [this] {
        if (可离开编辑器())
            捕获错误([this] { 删除(); });
    });
    // The second click of a double click on 确定, 取消 or a listed case would land on the table
    // under the panel, which has gone: it opened an editor there, and the next key replaced a
    // cell. Clicks that come within a double click's time after the panel went are swallowed.
    连接隐藏(Pic原数据, [this] { 面板收起时刻.start(); });
    for (FlexGrid *grid : {MSFjk, MSFzc})
        吞掉点击(grid->viewport(), [this] {
            return 面板收起时刻.isValid() &&
                   !面板收起时刻.hasExpired(QApplication::doubleClickInterval());
        });
    // Esc in the panel of stored cases puts it away, as 取消 does.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), Pic原数据);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, Comm取消, &QPushButton::click);
}

// The caption names the stored case the window holds, so that the clerk sees which case a save
// overwrites and a delete removes; an empty name stands for none.
void Fo案款分配计算::标明案件(const QString &name) {
    案件.名称 = name;
    更新标题();
}

// The caption ends with （未保存） while the tables hold changes not stored: typed, pasted, a
// version put back, a recovered file.
void Fo案款分配计算::更新标题() {
    const QString title = QStringLiteral("案款分配计算");
    setWindowTitle((案件.名称.isEmpty() ? title : title + QStringLiteral(" — ") + 案件.名称) +
                   (有未存修改() ? QStringLiteral("（未保存）") : QString()));
}

// 存入内容: true when the case was stored.
bool Fo案款分配计算::存入命令() {
    bool stored = false;
    捕获错误([&] { stored = 存入(); });
    return stored;
}

// A new case asks for its name, a stored one for leave to overwrite. The rows are then written
// in one transaction, begun once the boxes are answered and ended before the next box shows:
// a save that fails leaves the database as it was, and the window as it was.
bool Fo案款分配计算::存入() {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection, 数据库用途::保存);
    std::int32_t id = 案件.号;
    QString name;
    if (id >= 1) {
        if (!消息框::是否(QStringLiteral("你将保存内容，会覆盖原来的数据，如果确实要保存点“是”，"
                                         "取消保存点“否”。"),
                          QStringLiteral("保存提示"), 消息框::默认钮::否))
            return false;
    } else {
        bool ok = false;
        name = 去尾空格(单元格文本(消息框::输入(QStringLiteral("请输入案件名称，以便以后查询"),
                                                QStringLiteral("案件名称"), &ok)));
        if (name.isEmpty()) {
            消息框::提示(QStringLiteral("没有案件名称，不能保存！"), 提示标题);
            return false;
        }
    }
    // The stored rows this save may overwrite: those the window loaded or last saved, or, after
    // 是 to the question below, those found stored then. A stored case that someone else changed
    // since is asked about, and on 是 written again, locked and compared anew.
    案件行 basis = 案件.读出时行;
    for (;;) {
        写入结局 result;
        try {
            忙光标 busy;
            result = 保存案件(*connection, id, name, 表中行(), basis);
        } catch (const 提交结果不明 &e) {
            connection.reset();
            核对不明的保存(id, name);
            消息框::提示(e.description(), 提示标题);
            return false;
        }
        connection.reset();
        if (result.结果 == 写入结果::已成) {
            id = result.案件号;
            案件.读出时行 = std::move(result.行);
            到末行(*MSFjk);
            到末行(*MSFzc);
            break;
        }
        if (result.结果 == 写入结果::名称重复) {
            消息框::提示(名称重复, 提示标题);
            return false;
        }
        if (result.结果 == 写入结果::已删除) {
            忘记案件();
            消息框::提示(不在库中 + QStringLiteral("请重新保存，为它输入一个案件名称。"), 提示标题);
            return false;
        }
        basis = std::move(result.行);
        if (!消息框::是否(QStringLiteral("这个案件在你读出以后已被别人修改，保存会覆盖别人的修改。"
                                         "确实要保存点“是”，取消保存点“否”。"),
                          QStringLiteral("保存提示"), 消息框::默认钮::否))
            return false;
        打开数据库(connection, 数据库用途::保存);
    }
    案件.号 = id;
    if (!name.isEmpty())
        案件.名称 = name;
    更新标题();
    本程序恢复文件::实例().删(); // stored: nothing to recover
    消息框::提示(QStringLiteral("保存成功！"), 提示标题);
    Com删除案件->show();
    return true;
}

// The window no longer holds a stored case: another program deleted it.
void Fo案款分配计算::忘记案件() {
    案件.号 = 0;
    案件.读出时行 = {};
    标明案件(QString());
    Com删除案件->hide();
}

// The list of stored cases is read afresh each time, oldest first; its last row stays current,
// so that 确定 without a pick loads the newest case.
void Fo案款分配计算::列出() {
    {
        const QSignalBlocker quiet(Txt案件筛选);
        Txt案件筛选->clear();
    }
    MSFysj->setRows(1);
    Pic原数据->show();
    Pic原数据->raise();
    Txt案件筛选->setFocus(); // typing filters at once; Down goes on into the list
    for (const 案件条目 &c : 列出案件()) {
        MSFysj->setRows(MSFysj->Rows() + 1);
        MSFysj->setRow(MSFysj->Rows() - 1);
        MSFysj->setCol(0);
        MSFysj->当前格左对齐();
        if (!c.案件号.isEmpty())
            MSFysj->setText(c.案件号);
        MSFysj->setCol(1);
        if (!c.名称.isEmpty())
            MSFysj->setText(c.名称);
        MSFysj->当前格左对齐();
    }
    // The highlight shows the case that 确定 loads: the last one listed.
    if (MSFysj->Rows() > 1)
        MSFysj->setCurrentCell(MSFysj->Rows() - 1 - MSFysj->FixedRows(), 1);
    // The names start at the left edge: a list scrolled sideways would show them cut.
    MSFysj->horizontalScrollBar()->setValue(0);
}

// Loads the case of the list's current row when that row is a case; true when it was loaded.
bool Fo案款分配计算::载入列表案件() {
    if (MSFysj->Row() <= 0 || !可丢下内容())
        return false;
    const int id = 长整数值(去尾空格(MSFysj->TextMatrix(MSFysj->Row(), 0)));
    return 读出案件(id, MSFysj->TextMatrix(MSFysj->Row(), 1));
}

// The focus goes to the payments table, not to whatever control lay under the panel (清除内容
// would take the next Enter).
void Fo案款分配计算::收起原数据面板() {
    Pic原数据->hide();
    MSFjk->setFocus();
}

// Either way of loading shows 删除这个案件 for the case loaded: the button deletes the case on
// screen, and a case on screen can be deleted.
void Fo案款分配计算::确定载入() {
    捕获错误([this] { 载入列表案件(); });
    收起原数据面板();
}

// Loading reads the whole case, in one read transaction, before the window takes any of it: a
// load that fails at any step (the connection, either table) leaves the case number, the
// caption, the tables, the rows remembered as loaded and the delete button as they were, so
// that the next save cannot write one case's rows under another's number. The distribution is
// worked out afresh rather than taken from the stored amounts; an editor left open would lie
// over a cell of another case, and is put away. A case deleted since the list was shown is said
// so: false then, as for a failure.
bool Fo案款分配计算::读出案件(int id, const QString &name) {
    std::optional<案件行> stored;
    const bool read = 捕获错误([&] {
        const 忙光标 busy;
        stored = 读出存储案件(id);
    });
    if (read && !stored)
        消息框::提示(不在库中, 提示标题);
    if (!stored) {
        安排恢复写入(); // what stays on screen is kept as before
        return false;
    }
    案件.号 = id;
    案件.读出时行 = *stored;
    案件.名称 = name;
    Com删除案件->show();
    放入内容(*stored); // the stored rows are what is on screen: no recovery file is left
    return true;
}

// The deletes run as one whole after the question, holding the case as a save does and
// comparing the stored rows with those this window loaded: another clerk's change is not
// deleted unasked. A delete that fails leaves the case stored and the window as it was.
void Fo案款分配计算::删除() {
    if (!消息框::是否(QStringLiteral("你要删除这个已保存的数据，删除后可以在“已删除的案件”中恢复。"
                                     "确实要删除点“是”，取消删除点“否”。"),
                      QStringLiteral("删除提示"), 消息框::默认钮::否))
        return;
    案件行 basis = 案件.读出时行;
    for (;;) {
        写入结局 result;
        try {
            const 忙光标 busy;
            result = 删除案件(案件.号, basis);
        } catch (const 提交结果不明 &e) {
            核对不明的删除();
            消息框::提示(e.description(), 提示标题);
            return;
        }
        if (result.结果 == 写入结果::已成) {
            案件.读出时行 = {};
            break;
        }
        if (result.结果 == 写入结果::已删除) {
            忘记案件();
            消息框::提示(不在库中, 提示标题);
            return;
        }
        basis = std::move(result.行);
        if (!消息框::是否(QStringLiteral("这个案件在你读出以后已被别人修改，删除会同时删除别人的"
                                         "修改。确实要删除点“是”，取消删除点“否”。"),
                          QStringLiteral("删除提示"), 消息框::默认钮::否))
            return;
    }
    消息框::提示(QStringLiteral("删除成功！"), 提示标题);
    清除();
    Com删除案件->hide();
}

// 历史版本: the versions of the stored case on screen, in a window of their own (one at a time).
void Fo案款分配计算::打开历史版本() {
    if (案件.号 < 1) {
        消息框::提示(QStringLiteral("请先读出一个已保存的案件。"), 提示标题);
        return;
    }
    if (auto *open = findChild<Fo历史版本 *>(QStringLiteral("Fo历史版本")))
        open->close();
    auto *versions = new Fo历史版本(this, 案件.号, 案件.名称);
    versions->show();
}

void Fo案款分配计算::打开已删除案件() {
    if (auto *open = findChild<Fo已删除案件 *>(QStringLiteral("Fo已删除案件")))
        open->close();
    (new Fo已删除案件(this))->show();
}

// The case is stored again as a new case (case_archive.h), then loaded as a click on the list
// loads a case.
bool Fo案款分配计算::恢复已删除案件(qint64 version, const QString &name) {
    if (!可离开编辑器() || !可丢下内容())
        return false;
    QString stored;
    std::int32_t id = 0;
    bool unknown = false;
    const bool ok = 捕获错误([&] {
        try {
            忙光标 busy;
            id = 存回已删除案件(version, name, stored);
        } catch (const 提交结果不明 &e) {
            // Stored or not: the case is loaded when a case of that name is there now.
            unknown = true;
            if (const std::int32_t found = 按名称找案件(stored); found > 0)
                读出案件(found, stored);
            消息框::提示(e.description(), 提示标题);
        }
    });
    if (!ok || unknown)
        return false;
    读出案件(id, stored);
    消息框::提示(QStringLiteral("案件已恢复：") + stored, 提示标题);
    return true;
}
