// Work in the case fund window that is not stored yet: never thrown away without a question, and
// kept in a recovery file while it lasts, so that a crash loses none of it.
#include "archive/sql_text.h"
#include "casefund/case_fund_window.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/varnel_error.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

constexpr int 分配金额列 = 4;

// The rows as a save would store them and a load read them back; the distributed amounts, which
// are worked out afresh, and rows that hold nothing are left out.
案件行 可比内容(const 案件行 &rows) {
    auto clean = [](const QList<QStringList> &in, bool claims) {
        QList<QStringList> out;
        for (const QStringList &row : in) {
            QStringList literals;
            for (qsizetype k = 0; k < row.size(); ++k)
                literals << 单元字面量(claims && k == 分配金额列 ? QString() : row[k]);
            const QStringList texts = 读回文本(literals);
            if (std::any_of(texts.cbegin(), texts.cend(), [](const QString &t) { return !t.isEmpty(); }))
                out << texts;
        }
        return out;
    };
    return {clean(rows.交款, false), clean(rows.债权, true)};
}

} // namespace

void Fo案款分配计算::连接未存内容() {
    恢复计时 = new QTimer(this);
    恢复计时->setObjectName(QStringLiteral("恢复计时"));
    恢复计时->setSingleShot(true);
    connect(恢复计时, &QTimer::timeout, this, [this] { 写恢复文件(); });
}

案件行 Fo案款分配计算::表中行() const {
    return {数据行(*MSFjk), 数据行(*MSFzc)};
}

bool Fo案款分配计算::有未存修改() const {
    return 可比内容(表中行()) != 可比内容(案件.读出时行);
}

bool Fo案款分配计算::可丢下内容() {
    if (!有未存修改())
        return true;
    switch (消息框::是否取消(QStringLiteral("案件内容已修改，还没有保存。要保存吗？"),
                             QStringLiteral("保存提示"))) {
    case 消息框::三答::是:
        return 存入命令();
    case 消息框::三答::否:
        本程序恢复文件::实例().删();
        return true;
    case 消息框::三答::取消:
        break;
    }
    return false;
}

// A change is written to the recovery file within the interval; changes that follow before then
// go with it, so that steady typing is written as often, not put off.
void Fo案款分配计算::安排恢复写入() {
    if (恢复计时 && !恢复计时->isActive())
        恢复计时->start(恢复设置::间隔毫秒);
}

void Fo案款分配计算::写恢复文件() {
    if (恢复计时)
        恢复计时->stop();
    try {
        if (有未存修改())
            本程序恢复文件::实例().写(当前恢复内容());
        else
            本程序恢复文件::实例().删();
    } catch (const VarnelError &e) {
        // Said once: a clerk typing on should not meet the same box every few seconds.
        if (!std::exchange(恢复写入已告知, true))
            消息框::提示(e.description());
    }
}

恢复内容 Fo案款分配计算::当前恢复内容() const {
    return {表中行(), 案件.号, 案件.名称, 案件.读出时行, QDateTime::currentDateTime(), 当前档案名()};
}

void Fo案款分配计算::放入内容(const 案件行 &rows) {
    编辑->收起全部();
    MSFjk->setRows(1);
    MSFzc->setRows(1);
    填表(*MSFjk, rows.交款, 4);
    填表(*MSFzc, rows.债权, 6);
    // Tables of no row get the one blank entry row a cleared window has.
    for (FlexGrid *grid : {MSFjk, MSFzc})
        if (grid->Rows() < 2)
            grid->setRows(2);
    分配计算();
    写恢复文件();
}

void Fo案款分配计算::接过恢复内容(const 恢复内容 &content) {
    案件.号 = content.案件号;
    案件.读出时行 = content.读出时行;
    标明案件(content.案件名称);
    Com删除案件->setVisible(案件.号 > 0);
    放入内容(content.表);
}

bool Fo案款分配计算::放入版本(const 案件行 &rows) {
    if (!可离开编辑器() || !可丢下内容())
        return false;
    放入内容(rows);
    return true;
}
