#include "interest/interest_window.h"

#include "common/controls.h"
#include "common/date_picker.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "common/twips.h"
#include "common/window_events.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalBlocker>

namespace {

constexpr int 客户宽 = 9600;
constexpr int 客户高 = 9720;
constexpr int 标签左 = 480;
constexpr int 框左 = 2040;
constexpr int 框宽 = 2055;
constexpr int 行高 = 300;

// The methods of Com计息方式, in the order of 计息方式.
const QStringList 方式名称{QStringLiteral("迟延履行期间的债务利息（加倍部分，日万分之一点七五）"),
                           QStringLiteral("一年期贷款市场报价利率（LPR）"),
                           QStringLiteral("五年以上贷款市场报价利率（LPR）"),
                           QStringLiteral("中国人民银行同期贷款基准利率"),
                           QStringLiteral("固定年利率")};

const QStringList 明细表头{QStringLiteral("起始日期"), QStringLiteral("截止日期"),
                           QStringLiteral("天数"),     QStringLiteral("计息本金"),
                           QStringLiteral("利率"),     QStringLiteral("利息")};
const QList<int> 明细列宽{1230, 1230, 720, 1650, 1500, 1470};

QLabel *左标签(QWidget *c, const QString &name, const QString &text, int top) {
    return 新标签(c, name, text, 标签左, top + 60, 框左 - 标签左 - 60, 180);
}

QLineEdit *结果框(QWidget *c, const QString &name, int left, int top) {
    auto *box = 新控件<QLineEdit>(c, name, left, top, 框宽, 行高);
    box->setReadOnly(true);
    设背景色(box, 颜色(0x00C0FFFF));
    return box;
}

} // namespace

Fo利息计算::Fo利息计算() {
    建立控件();
    捕获错误([this] { 载入(); });
}

void Fo利息计算::建立控件() {
    客户区 = 建立窗口(this, QStringLiteral("Fo利息计算"), 客户宽, 客户高);
    建立菜单();
    QWidget *c = 客户区;
    Label2 = 新标签(c, QStringLiteral("Label2"), QStringLiteral("利息计算"), 4230, 240, 1140, 285);
    Label2->setFont(宋体(14.25));
    Line1 = 新控件<QFrame>(c, QStringLiteral("Line1"), 3840, 690, 1920, 45);
    设背景色(Line1, QColor(128, 128, 0));
    建立输入(c);
    建立结果(c);
    Label1 = 新标签(c, QStringLiteral("Label1"), QStringLiteral("Varnel 法院办公工具"), 标签左,
                    9360, 2400, 180);
    Picture1 = new 选日面板(c, 客户宽, 客户高);
    Picture1->确认 = [this] { 确认选日(); };
    Picture1->取消 = [this] { 关闭选日(); };
    连接输入();
    连接还款编辑();
    连接命令();
}

// The method across the top; the principal, the period and the rate down the left; the part
// payments on the right.
void Fo利息计算::建立输入(QWidget *c) {
    新标签(c, QStringLiteral("Label计息方式"), QStringLiteral("计息方式"), 标签左, 1020, 1200, 180);
    Com计息方式 = 新控件<QComboBox>(c, QStringLiteral("Com计息方式"), 框左, 960, 6960, 行高);
    Com计息方式->addItems(方式名称);
    Com计息方式->setCurrentIndex(int(计息方式::一年期LPR));

    左标签(c, QStringLiteral("Label本金"), QStringLiteral("本金"), 1440);
    Tex本金 = 新控件<QLineEdit>(c, QStringLiteral("Tex本金"), 框左, 1440, 框宽, 行高);
    新标签(c, QStringLiteral("Label元"), QStringLiteral("元"), 框左 + 框宽 + 60, 1500, 240, 180);
    La起算日 = 左标签(c, QStringLiteral("La起算日"), QStringLiteral("起算日"), 1860);
    Tex起算日 = 新控件<QLineEdit>(c, QStringLiteral("Tex起算日"), 框左, 1860, 框宽, 行高);
    左标签(c, QStringLiteral("Label截止日"), QStringLiteral("截止日"), 2280);
    Tex截止日 = 新控件<QLineEdit>(c, QStringLiteral("Tex截止日"), 框左, 2280, 框宽, 行高);
    左标签(c, QStringLiteral("Label倍数"), QStringLiteral("倍数"), 2700);
    Tex倍数 = 新控件<QLineEdit>(c, QStringLiteral("Tex倍数"), 框左, 2700, 框宽, 行高);
    左标签(c, QStringLiteral("Label年利率"), QStringLiteral("年利率"), 3120);
    Tex年利率 = 新控件<QLineEdit>(c, QStringLiteral("Tex年利率"), 框左, 3120, 框宽, 行高);
    新标签(c, QStringLiteral("Label百分号"), QStringLiteral("%"), 框左 + 框宽 + 60, 3180, 240, 180);
    左标签(c, QStringLiteral("Label年天数"), QStringLiteral("每年天数"), 3540);
    Com年天数 = 新控件<QComboBox>(c, QStringLiteral("Com年天数"), 框左, 3540, 855, 行高);
    Com年天数->addItems({QStringLiteral("365"), QStringLiteral("360")});
    Chk分段 = 新控件<QCheckBox>(c, QStringLiteral("Chk分段"), 标签左, 3960, 3840, 行高);
    Chk分段->setText(QStringLiteral("按各期公布的利率分段计算"));
    Chk分段->setChecked(true);

    新标签(c, QStringLiteral("Label还款"), QStringLiteral("部分还款"), 4800, 1500, 1200, 180);
    MSF还款 = 新控件<FlexGrid>(c, QStringLiteral("MSF还款"), 4800, 1740, 4200, 2520);
    Tex还款 = new 格上文本框(c);
    Tex还款->setObjectName(QStringLiteral("Tex还款"));
    Tex还款->hide();
}

// The stretches, the four results, the explanation and how far the rate table reaches.
void Fo利息计算::建立结果(QWidget *c) {
    新标签(c, QStringLiteral("Label明细"), QStringLiteral("计息明细"), 标签左, 4440, 1200, 180);
    MSF明细 = 新控件<FlexGrid>(c, QStringLiteral("MSF明细"), 标签左, 4680, 8520, 2175);
    const auto result = [&](const QString &name, const QString &caption, int column, int top) {
        const int left = column == 0 ? 标签左 : 4800;
        新标签(c, QStringLiteral("Label") + name.mid(2), caption, left, top + 60, 1500, 180);
        return 结果框(c, name, left + 1560, top);
    };
    Te利息合计 = result(QStringLiteral("Te利息合计"), QStringLiteral("利息合计"), 0, 7020);
    Te尚欠本金 = result(QStringLiteral("Te尚欠本金"), QStringLiteral("尚欠本金"), 1, 7020);
    Te尚欠利息 = result(QStringLiteral("Te尚欠利息"), QStringLiteral("尚欠利息"), 0, 7440);
    Te本息合计 = result(QStringLiteral("Te本息合计"), QStringLiteral("本息合计"), 1, 7440);
    La计算说明 = 新标签(c, QStringLiteral("La计算说明"), QString(), 标签左, 7860, 8520, 1200);
    La计算说明->setWordWrap(true);
    La计算说明->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    La计算说明->setTextFormat(Qt::PlainText);
    设前景色(La计算说明, 颜色(0x004040));
    La利率表截至 = 新标签(c, QStringLiteral("La利率表截至"), QString(), 5400, 9360, 3600, 180);
    La利率表截至->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void Fo利息计算::建立菜单() {
    回到上页 = 新命令(menuBar(), QStringLiteral("回到上页"));
    QMenu *output = menuBar()->addMenu(QStringLiteral("输出计算结果"));
    output->setObjectName(QStringLiteral("输出计算结果"));
    复制计算结果 = 新命令(output, QStringLiteral("复制计算结果"));
    打印计算结果 = 新命令(output, QStringLiteral("打印计算结果"));
    保存为PDF文件 = 新命令(output, QStringLiteral("保存为PDF文件"));
    放入案款分配 = 新命令(output, QStringLiteral("放入案款分配"));
}

// Every change of a field recomputes; leaving a refused field says why it was refused.
void Fo利息计算::连接输入() {
    for (QLineEdit *field : {Tex本金, Tex起算日, Tex截止日, Tex倍数, Tex年利率}) {
        connect(field, &QLineEdit::textChanged, this, [this] { 计算(); });
        connect(field, &QLineEdit::editingFinished, this, [this, field] { 说明拒绝(field); });
    }
    for (QLineEdit *date : {Tex起算日, Tex截止日})
        连接单击(date, [this, date] { 打开选日(date); });
    connect(Com计息方式, &QComboBox::currentIndexChanged, this, [this] { 换方式(); });
    connect(Com年天数, &QComboBox::currentIndexChanged, this, [this] { 计算(); });
    connect(Chk分段, &QCheckBox::toggled, this, [this] { 计算(); });
    连接单击(客户区, [this] { 关闭选日(); });
    // The picker goes away, its date not taken, once the clerk works in another control: a date
    // picked for a field must never land in it after the clerk typed there meanwhile.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (Picture1->isVisible() && now && now->window() == this && now != Picture1 &&
            !Picture1->isAncestorOf(now))
            Picture1->hide();
    });
    connect(回到上页, &QAction::triggered, this, [this] { close(); });
}

void Fo利息计算::载入() {
    MSF还款->setRows(2);
    MSF还款->setCols(2);
    MSF还款->setTextMatrix(0, 0, QStringLiteral("还款日期"));
    MSF还款->setTextMatrix(0, 1, QStringLiteral("金额"));
    MSF还款->setColWidth(0, 1800);
    MSF还款->setColWidth(1, 2040);
    MSF明细->setRows(1);
    MSF明细->setCols(int(明细表头.size()));
    for (int col = 0; col < 明细表头.size(); ++col) {
        MSF明细->setTextMatrix(0, col, 明细表头[col]);
        MSF明细->setColWidth(col, 明细列宽[col]);
    }
    {
        const QSignalBlocker quiet(Tex倍数);
        Tex倍数->setText(QStringLiteral("1"));
    }
    换方式();
}

// Delayed performance counts from the day after the time to perform ran out, at a day rate of
// its own: no multiple, no published rates and no days of the year. Only the fixed rate reads
// Tex年利率.
void Fo利息计算::换方式() {
    const auto method = 计息方式(Com计息方式->currentIndex());
    const bool delayed = method == 计息方式::迟延履行;
    const bool fixed = method == 计息方式::固定年利率;
    La起算日->setText(delayed ? QStringLiteral("履行期限届满日") : QStringLiteral("起算日"));
    Tex倍数->setEnabled(!delayed);
    Tex年利率->setEnabled(fixed);
    Com年天数->setEnabled(!delayed);
    Chk分段->setEnabled(!delayed && !fixed);
    计算();
}

void Fo利息计算::closeEvent(QCloseEvent *event) {
    event->accept();
    显示主窗口();
}
