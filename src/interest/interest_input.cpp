// Reading the fields for a computation and showing what came of it. A blank field is one not
// filled in yet: nothing is computed and nothing is refused. A field that holds what it cannot
// (a principal or rate that is no number, a text that is no date) or that the rules refuse (an
// end before the start, a multiple not above 0) turns light red and the results stay empty;
// leaving it tells why in a box.
#include "interest/interest_window.h"

#include "common/date_picker.h"
#include "common/date_text.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/number_text.h"
#include "common/varnel_error.h"
#include "interest/interest_text.h"
#include "interest/rate_table.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// The messages the fee and sentence windows give for such input.
const QString 数字出错 = QStringLiteral("数字输入错误");
const QString 日期出错 = QStringLiteral("日期格式出错！");
const QString 日期出错标题 = QStringLiteral("日期出错提示");
const QString 输入出错标题 = QStringLiteral("输入出错提示");

void 设底色(QWidget *field, bool refused) {
    QPalette p = field->palette();
    p.setColor(QPalette::Base, refused ? QColor(255, 128, 128) : QColor(255, 255, 255));
    field->setPalette(p);
}

bool 空白(const QString &text) {
    return text.trimmed().isEmpty();
}

} // namespace

void Fo利息计算::计算() {
    捕获错误([this] {
        for (auto it = 拒绝说明.cbegin(); it != 拒绝说明.cend(); ++it)
            设底色(it.key(), false);
        拒绝说明.clear();
        标出还款(-1, -1);
        std::optional<利率表> table;
        try {
            table = 当前利率表();
            已告知利率文件错误.clear();
        } catch (const VarnelError &e) {
            La利率表截至->setText(QString());
            清空结果(e.description());
            告知利率文件错误(e.description());
            return;
        }
        La利率表截至->setText(QStringLiteral("利率表截至：") + 年月日(table->截至()));
        QList<int> rows;
        const auto input = 读输入(rows);
        if (!input) {
            清空结果(拒绝说明.isEmpty() ? QString() : 拒绝说明.cbegin().value());
            return;
        }
        const 计息结果 result = 计算利息(*input, *table);
        if (!result.成功()) {
            标出规则拒绝(*input, result, rows);
            清空结果(result.拒绝说明);
            return;
        }
        显示结果(result);
    });
}

std::optional<QDate> Fo利息计算::读日期框(QLineEdit *field, bool &blank) {
    if (空白(field->text())) {
        blank = true;
        return std::nullopt;
    }
    const auto d = 读日期(field->text());
    if (!d)
        拒收(field, 日期出错);
    return d;
}

// The input of the rules, or nothing while a field is blank or refused (marked as it goes).
std::optional<计息输入> Fo利息计算::读输入(QList<int> &paymentRows) {
    计息输入 in;
    in.方式 = 计息方式(Com计息方式->currentIndex());
    bool blank = false;
    if (空白(Tex本金->text())) {
        blank = true;
    } else {
        try {
            if (!读金额(Tex本金->text(), in.本金))
                拒收(Tex本金, 数字出错);
        } catch (const VarnelError &e) {
            拒收(Tex本金, e.description());
        }
    }
    in.起算日 = 读日期框(Tex起算日, blank).value_or(QDate());
    in.截止日 = 读日期框(Tex截止日, blank).value_or(QDate());
    // The rules read the multiple and the rate exactly from the texts; only those they use count.
    for (QLineEdit *field : {Tex倍数, Tex年利率}) {
        if (!field->isEnabled())
            continue;
        if (空白(field->text()))
            blank = true;
        else if (!是数字(field->text()))
            拒收(field, 数字出错);
    }
    in.倍数 = Tex倍数->text();
    in.年利率 = Tex年利率->text();
    in.年天数 = Com年天数->currentText().toInt();
    in.分段 = Chk分段->isChecked();
    in.还款 = 还款表(&paymentRows);
    if (blank || !拒绝说明.isEmpty())
        return std::nullopt;
    return in;
}

void Fo利息计算::拒收(QWidget *field, const QString &why) {
    设底色(field, true);
    拒绝说明.insert(field, why);
}

// The field the rules name; a payment in its date cell, or in its amount cell when only the
// amount is at fault.
void Fo利息计算::标出规则拒绝(const 计息输入 &input, const 计息结果 &result,
                              const QList<int> &paymentRows) {
    QWidget *field = nullptr;
    switch (result.拒绝) {
    case 拒绝处::本金:
        field = Tex本金;
        break;
    case 拒绝处::起算日:
        field = Tex起算日;
        break;
    case 拒绝处::截止日:
        field = Tex截止日;
        break;
    case 拒绝处::倍数:
        field = Tex倍数;
        break;
    case 拒绝处::年利率:
        field = Tex年利率;
        break;
    case 拒绝处::年天数:
        field = Com年天数;
        break;
    case 拒绝处::还款: {
        const 部分还款 &p = input.还款.value(result.还款行);
        const bool dateFits = p.日期.isValid() && p.日期 >= input.起算日 && p.日期 <= input.截止日;
        标出还款(paymentRows.value(result.还款行, -1), dateFits && p.金额 <= Money{} ? 1 : 0);
        break;
    }
    default:
        break;
    }
    if (field)
        拒收(field, result.拒绝说明);
}

void Fo利息计算::显示结果(const 计息结果 &result) {
    上次结果 = result;
    MSF明细->setRows(1 + int(result.明细.size()));
    for (int i = 0; i < result.明细.size(); ++i) {
        const 计息明细行 &r = result.明细[i];
        const QStringList cells{短日期文本(r.起始日期),
                                短日期文本(r.截止日期),
                                QString::number(r.天数),
                                金额文本(r.计息本金),
                                r.利率,
                                金额文本(r.利息)};
        for (int col = 0; col < cells.size(); ++col)
            MSF明细->setTextMatrix(i + 1, col, cells[col]);
    }
    Te利息合计->setText(金额文本(result.利息合计));
    Te尚欠本金->setText(金额文本(result.尚欠本金));
    Te尚欠利息->setText(金额文本(result.尚欠利息));
    Te本息合计->setText(金额文本(result.本息合计));
    La计算说明->setText(result.计算说明);
    for (QAction *a : {复制计算结果, 打印计算结果, 保存为PDF文件, 放入案款分配})
        a->setEnabled(true);
}

void Fo利息计算::清空结果(const QString &why) {
    上次结果.reset();
    MSF明细->setRows(1);
    for (QLineEdit *box : {Te利息合计, Te尚欠本金, Te尚欠利息, Te本息合计})
        box->clear();
    La计算说明->setText(why);
    for (QAction *a : {复制计算结果, 打印计算结果, 保存为PDF文件, 放入案款分配})
        a->setEnabled(false);
}

// Once: the box itself takes the focus from the field, which ends its editing again.
void Fo利息计算::说明拒绝(QWidget *field) {
    const auto it = 拒绝说明.constFind(field);
    if (it == 拒绝说明.cend() || 告知中)
        return;
    const bool date = field == Tex起算日 || field == Tex截止日;
    const QString why = it.value();
    告知中 = true;
    消息框::提示(why, date ? 日期出错标题 : 输入出错标题);
    告知中 = false;
}

// A bad rate file is told once; the explanation keeps saying it until the file is put right.
void Fo利息计算::告知利率文件错误(const QString &why) {
    if (why == 已告知利率文件错误)
        return;
    已告知利率文件错误 = why;
    消息框::提示(why);
}

// The picker opens on the field's date, else on the other date of the period, else on today.
void Fo利息计算::打开选日(QLineEdit *field) {
    选日对象 = field;
    const QLineEdit *other = field == Tex起算日 ? Tex截止日 : Tex起算日;
    Picture1->打开(field->text(), 读日期(other->text()).value_or(QDate::currentDate()), true);
}

void Fo利息计算::确认选日() {
    捕获错误([this] {
        const QString text = Picture1->Tex日期->text();
        if (!是日期(text) && !空白(text)) {
            消息框::提示(日期出错, 日期出错标题);
            Picture1->选日框得焦点();
            return;
        }
        关闭选日();
        if (!选日对象)
            return;
        选日对象->setText(text);
        说明拒绝(选日对象);
    });
}

void Fo利息计算::关闭选日() {
    if (Picture1->isVisible() && 选日对象)
        选日对象->setFocus(Qt::OtherFocusReason);
    Picture1->hide();
}
