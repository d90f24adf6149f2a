// The case fund window's archive commands: save the case on screen, list the stored cases,
// load one, delete the loaded one.
#include "archive/case_list_filter.h"
#include "archive/case_record.h"
#include "archive/version_windows.h"
#include "archive/database.h"
#include "archive/sql_text.h"
#include "casefund/case_fund_window.h"
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

#include <algorithm>
#include <utility>

namespace {

// The busy cursor while a command waits on the database, put back before any box shows.
class 忙光标 {
  public:
    忙光标() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~忙光标() { 结束(); }
    忙光标(const 忙光标 &) = delete;
    忙光标 &operator=(const 忙光标 &) = delete;
    void 结束() {
        if (std::exchange(在, false))
            QApplication::restoreOverrideCursor();
    }

  private:
    bool 在 = true;
};

const QString 提示标题 = QStringLiteral("提示");
const QString 名称重复 = QStringLiteral("名称重复，不能保存，请改变名称保存！");


// The number the database gave the case just inserted under `name`, read back by its name.
std::int32_t 新案件号(数据库连接 &connection, const QString &name) {
    return 长整数值(去尾空格(打开记录集(connection, 案件语句::查案件号(name)).值(0, 0).toString()));
}

QStringList 行字面量(const Fo案款分配计算 &window, FlexGrid &grid, int row, int columns) {
    grid.setRow(row);
    QStringList literals;
    for (int k = 0; k < columns; ++k)
        literals << window.保存内容(grid.TextMatrix(row, k));
    return literals;
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

QString Fo案款分配计算::保存内容(const QString &原内容) const {
    return 单元字面量(原内容);
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
    案件名称 = name;
    更新标题();
}

// The caption ends with （未保存） while the tables hold changes not stored: typed, pasted, a
// version put back, a recovered file.
void Fo案款分配计算::更新标题() {
    const QString title = QStringLiteral("案款分配计算");
    setWindowTitle((案件名称.isEmpty() ? title : title + QStringLiteral(" — ") + 案件名称) +
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
    std::int32_t id = 案件号;
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
    案件行 basis = 读出时行;
    for (;;) {
        写入结果 result;
        try {
            result = 写入案件(*connection, id, name, basis);
        } catch (const 提交结果不明 &e) {
            connection.reset();
            核对不明的保存(id, name);
            消息框::提示(e.description(), 提示标题);
            return false;
        }
        connection.reset();
        if (result == 写入结果::已成)
            break;
        if (result == 写入结果::名称重复) {
            消息框::提示(名称重复, 提示标题);
            return false;
        }
        if (result == 写入结果::已删除) {
            忘记案件();
            消息框::提示(QStringLiteral("这个案件已经不在案件数据库中，可能已被删除。请重新保存，"
                                        "为它输入一个案件名称。"),
                         提示标题);
            return false;
        }
        if (!消息框::是否(QStringLiteral("这个案件在你读出以后已被别人修改，保存会覆盖别人的修改。"
                                         "确实要保存点“是”，取消保存点“否”。"),
                          QStringLiteral("保存提示"), 消息框::默认钮::否))
            return false;
        打开数据库(connection, 数据库用途::保存);
    }
    案件号 = id;
    if (!name.isEmpty())
        案件名称 = name;
    更新标题();
    本程序恢复文件::实例().删(); // stored: nothing to recover
    消息框::提示(QStringLiteral("保存成功！"), 提示标题);
    Com删除案件->show();
    return true;
}

// The window no longer holds a stored case: another program deleted it.
void Fo案款分配计算::忘记案件() {
    案件号 = 0;
    读出时行 = {};
    标明案件(QString());
    Com删除案件->hide();
}

// One attempt at storing the window's case in one transaction. Only a committed save changes
// what the window remembers (the case number in `id`, the rows as saved); a stored case whose
// rows differ from `basis` is left alone, and `basis` becomes what is stored now.
Fo案款分配计算::写入结果 Fo案款分配计算::写入案件(数据库连接 &connection, std::int32_t &id,
                                                  const QString &name, 案件行 &basis) {
    const 忙光标 busy;
    数据库事务 transaction(connection);
    std::int32_t target = id;
    if (target < 1) {
        if (打开记录集(connection, 案件语句::查名称(name)).RecordCount() >= 1)
            return 写入结果::名称重复;
        try {
            执行(connection, 案件语句::插入案件(name));
        } catch (const VarnelError &e) {
            // On a server, a clerk saving the same name at the same moment got there first.
            if (e.description() != 名称重复)
                throw;
            return 写入结果::名称重复;
        }
        target = 新案件号(connection, name);
    } else {
        if (const 写入结果 r = 核对案件(connection, target, basis); r != 写入结果::已成)
            return r;
    }
    案件行 saved = 保存行(connection, target);
    transaction.提交();
    id = target;
    读出时行 = std::move(saved);
    return 写入结果::已成;
}

// Inside a write transaction: holds the stored case against other writers and compares its rows
// with `basis`. 已删除 when another program has deleted the case (rows written now would lie
// under a case that no list shows); 已变, with `basis` now what is stored, when they differ.
Fo案款分配计算::写入结果 Fo案款分配计算::核对案件(数据库连接 &connection, std::int32_t id,
                                                  案件行 &basis) {
    锁定案件(connection, id);
    if (打开记录集(connection, 案件语句::查案件在否(id)).RecordCount() == 0)
        return 写入结果::已删除;
    if (案件行 stored = 读案件行(connection, id); stored != basis) {
        basis = std::move(stored);
        return 写入结果::已变;
    }
    return 写入结果::已成;
}

// The statements go out together: on a server the round trips, not the statements, cost the
// time. Every row must be stored: a row the database skipped without an error (a trigger of the
// office's, for example) makes the whole save fail. Returns what a load would read back.
案件行 Fo案款分配计算::保存行(数据库连接 &connection, int id) {
    QStringList sqls{案件语句::删除交款(id), 案件语句::删除债权(id)};
    案件行 saved;
    for (int i = 1; i < MSFjk->Rows(); ++i) {
        const QStringList literals = 行字面量(*this, *MSFjk, i, 4);
        sqls << 案件语句::插入交款(id, literals);
        saved.交款 << 读回文本(literals);
    }
    for (int i = 1; i < MSFzc->Rows(); ++i) {
        const QStringList literals = 行字面量(*this, *MSFzc, i, 6);
        sqls << 案件语句::插入债权(id, literals);
        saved.债权 << 读回文本(literals);
    }
    const QList<qint64> changed = 执行多条(connection, sqls);
    if (changed.size() != sqls.size() ||
        std::any_of(changed.cbegin() + 2, changed.cend(), [](qint64 n) { return n != 1; }))
        throw VarnelError(QStringLiteral("案件数据库没有存下这个案件的全部行，这次保存已撤销，"
                                         "案件数据库没有改变。请告诉管理员。"));
    return saved;
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
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection);
    const 记录集 cases = 打开记录集(*connection, 案件语句::列出案件());
    const int ajid = int(cases.字段.indexOf(QStringLiteral("ajid")));
    const int 名称 = int(cases.字段.indexOf(QStringLiteral("名称")));
    for (int r = 0; r < cases.RecordCount(); ++r) {
        MSFysj->setRows(MSFysj->Rows() + 1);
        MSFysj->setRow(MSFysj->Rows() - 1);
        MSFysj->setCol(0);
        MSFysj->当前格左对齐();
        const QString id = 去尾空格(cases.值(r, ajid).toString());
        if (!id.isEmpty())
            MSFysj->setText(id);
        MSFysj->setCol(1);
        const QString text = 去尾空格(cases.值(r, 名称).toString());
        if (!text.isEmpty())
            MSFysj->setText(text);
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
        消息框::提示(QStringLiteral("这个案件已经不在案件数据库中，可能已被删除。"), 提示标题);
    if (!stored) {
        安排恢复写入(); // what stays on screen is kept as before
        return false;
    }
    案件号 = id;
    读出时行 = *stored;
    案件名称 = name;
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
    案件行 basis = 读出时行;
    for (;;) {
        写入结果 result;
        try {
            result = 删除案件(basis);
        } catch (const 提交结果不明 &e) {
            核对不明的删除();
            消息框::提示(e.description(), 提示标题);
            return;
        }
        if (result == 写入结果::已成)
            break;
        if (result == 写入结果::已删除) {
            忘记案件();
            消息框::提示(QStringLiteral("这个案件已经不在案件数据库中，可能已被删除。"), 提示标题);
            return;
        }
        if (!消息框::是否(QStringLiteral("这个案件在你读出以后已被别人修改，删除会同时删除别人的"
                                         "修改。确实要删除点“是”，取消删除点“否”。"),
                          QStringLiteral("删除提示"), 消息框::默认钮::否))
            return;
    }
    消息框::提示(QStringLiteral("删除成功！"), 提示标题);
    清除();
    Com删除案件->hide();
}

// One attempt at deleting the window's case, as 写入案件 is one at saving it.
Fo案款分配计算::写入结果 Fo案款分配计算::删除案件(案件行 &basis) {
    const 忙光标 busy;
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection, 数据库用途::删除);
    数据库事务 transaction(*connection);
    if (const 写入结果 r = 核对案件(*connection, 案件号, basis); r != 写入结果::已成)
        return r;
    执行多条(*connection, {案件语句::删除案件(案件号), 案件语句::删除债权(案件号),
                           案件语句::删除交款(案件号)});
    transaction.提交();
    读出时行 = {};
    return 写入结果::已成;
}

// 历史版本: the versions of the stored case on screen, in a window of their own (one at a time).
void Fo案款分配计算::打开历史版本() {
    if (案件号 < 1) {
        消息框::提示(QStringLiteral("请先读出一个已保存的案件。"), 提示标题);
        return;
    }
    if (auto *open = findChild<Fo历史版本 *>(QStringLiteral("Fo历史版本")))
        open->close();
    auto *versions = new Fo历史版本(this, 案件号, 案件名称);
    versions->show();
}

void Fo案款分配计算::打开已删除案件() {
    if (auto *open = findChild<Fo已删除案件 *>(QStringLiteral("Fo已删除案件")))
        open->close();
    (new Fo已删除案件(this))->show();
}

// The case is stored again as a new case, in one transaction: under its own name, or with
// " (恢复)", " (恢复2)" … appended when that name is taken now. Then it is loaded as a click
// on the list loads a case.
bool Fo案款分配计算::恢复已删除案件(qint64 version, const QString &name) {
    if (!可离开编辑器() || !可丢下内容())
        return false;
    QString stored;
    std::int32_t id = 0;
    bool unknown = false;
    const bool ok = 捕获错误([&] {
        try {
            存回已删除案件(version, name, stored, id);
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

// The deleted case's kept rows stored again under `stored`, a free name near its own.
void Fo案款分配计算::存回已删除案件(qint64 version, const QString &name, QString &stored,
                                std::int32_t &id) {
    忙光标 busy;
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection, 数据库用途::保存);
    数据库事务 transaction(*connection);
    const QString base = 去尾空格(name).isEmpty() ? QStringLiteral("未命名案件") : 去尾空格(name);
    stored = base;
    for (int n = 1; 打开记录集(*connection, 案件语句::查名称(stored)).RecordCount() > 0; ++n)
        stored = base + (n == 1 ? QStringLiteral(" (恢复)")
                                : QStringLiteral(" (恢复%1)").arg(n));
    执行(*connection, 案件语句::插入案件(stored));
    id = 新案件号(*connection, stored);
    存回版本行(*connection, id, version);
    transaction.提交();
}
