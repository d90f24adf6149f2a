#include "app/main_window.h"

#include "app/about_window.h"
#include "app/app_info.h"
#include "common/app_dir.h"
#include "common/controls.h"
#include "casefund/case_fund_window.h"
#include "common/twips.h"
#include "common/window_events.h"
#include "fee/fee_window.h"
#include "interest/interest_window.h"
#include "sentence/sentence_window.h"

#include "common/message_box.h"
#include "common/number_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace {

QPushButton *按钮(QWidget *parent, const char *name, const QString &caption, int top,
                  unsigned face) {
    auto *b = new QPushButton(caption, parent);
    回车可按(b);
    b->setObjectName(QString::fromUtf8(name));
    放置(b, 2280, top, 1400, 375);
    设背景色(b, 颜色(face));
    return b;
}

// The start-up question about a left-over file: whose content it is, how old, how much.
QString 恢复问题(const 恢复内容 &content) {
    const QString which = content.案件名称.isEmpty()
                              ? QStringLiteral("未命名的案件")
                              : QStringLiteral("案件“%1”").arg(content.案件名称);
    return QStringLiteral(
               "上次Varnel没有正常关闭，留下了没有保存的案件内容（%1，%2，%3行债权）。要恢复吗？")
        .arg(which, content.时间.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
             QString::number(有内容债权行数(content)));
}

// The interest owed as a claim of the case fund window that is open, or of a new one opened for
// it; the window comes to the front with the claim in its table.
void 放入案款分配窗口(const Money &amount, const QString &note) {
    Fo案款分配计算 *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *open = dynamic_cast<Fo案款分配计算 *>(w); open && open->isVisible())
            window = open;
    if (!window) {
        window = new Fo案款分配计算;
        window->show();
    }
    window->raise();
    window->activateWindow();
    window->放入债权(amount, note);
}

} // namespace

Fo工具主页::Fo工具主页() {
    setObjectName(QStringLiteral("Fo工具主页"));
    setFont(宋体(9));
    建立控件();
    载入();
    登记主窗口(this);
}

void Fo工具主页::建立控件() {
    setFixedSize(像素(6000), 像素(4080));
    设背景色(this, Qt::white);
    Command1 = 按钮(this, "Command1", QStringLiteral("诉讼费计算"), 600, 0x00C0C000);
    Command4 = 按钮(this, "Command4", QStringLiteral("案款分配计算"), 1080, 0x00C0C000);
    Command2 = 按钮(this, "Command2", QStringLiteral("刑期计算"), 1560, 0x00C0C000);
    Command3 = 按钮(this, "Command3", QStringLiteral("利息计算"), 2040, 0x00C0C000);
    Command5 = 按钮(this, "Command5", QStringLiteral("关于软件"), 2520, 0x00C0FFFF);

    Lab版本 = new QLabel(this);
    Lab版本->setObjectName(QStringLiteral("Lab版本"));
    QFont link = 宋体(9);
    link.setUnderline(true);
    Lab版本->setFont(link);
    设前景色(Lab版本, 颜色(0x00FF8080));
    Lab版本->setCursor(Qt::PointingHandCursor);
    Lab版本->move(像素(480), 像素(3480));

    Label1 = new QLabel(QStringLiteral("Varnel 法院办公工具"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    放置(Label1, 720, 1560, 1440, 600);

    connect(Command1, &QPushButton::clicked, this, [this] { 打开(new Fo诉讼费计算); });
    connect(Command4, &QPushButton::clicked, this, [this] { 打开(new Fo案款分配计算); });
    connect(Command2, &QPushButton::clicked, this, [this] { 打开(new Fo刑期计算); });
    connect(Command3, &QPushButton::clicked, this, [this] {
        auto *window = new Fo利息计算;
        window->放入案款分配回调 = 放入案款分配窗口;
        打开(window);
    });
    connect(Command5, &QPushButton::clicked, this, [this] { 打开(new frmAbout); });
    连接单击(Lab版本, [] { QDesktopServices::openUrl(QUrl(制作者网页)); });
}

void Fo工具主页::载入() {
    // The start-up directory, as a hidden directory list would show it.
    设应用目录(加尾分隔符(QDir::toNativeSeparators(QDir::currentPath())));
    Lab版本->setText(QStringLiteral("制作：Varnel 工作室  %1").arg(制作者网页));
    Lab版本->adjustSize();
    setWindowTitle(QStringLiteral("Varnel") + 版本文本());
}

void Fo工具主页::打开(QWidget *window) {
    window->show();
    hide();
}

// Each left-over file in turn, until the clerk takes one: 否 removes it; 是 opens the case fund
// window with its content, and the file goes once that window's own recovery file holds it.
void Fo工具主页::提供恢复() {
    for (const 遗留恢复 &left : 找遗留恢复(去尾空格(应用目录()))) {
        if (!消息框::是否(恢复问题(left.内容), QStringLiteral("恢复提示"))) {
            left.删();
            continue;
        }
        auto *window = new Fo案款分配计算;
        window->接过恢复内容(归入当前档案(left.内容));
        本程序恢复文件::实例().接替(left);
        打开(window);
        return;
    }
}

// Closing the main window closes the case fund windows first, each with its own question about
// unsaved content; one that stays open keeps the program running.
void Fo工具主页::closeEvent(QCloseEvent *event) {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *window = dynamic_cast<Fo案款分配计算 *>(w); window && window->isVisible())
            if (!window->close()) {
                event->ignore();
                return;
            }
    event->accept();
}
