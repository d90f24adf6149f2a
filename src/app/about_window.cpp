#include "app/about_window.h"

#include "app/app_info.h"
#include "common/controls.h"
#include "common/message_box.h"
#include "common/registry.h"
#include "common/twips.h"
#include "common/window_events.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QUrl>

namespace {

const QString 系统信息不可用 = QStringLiteral("此时系统信息不可用");

} // namespace

frmAbout::frmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(宋体(9));
    建立控件();
    载入();
}

void frmAbout::建立控件() {
    setFixedSize(像素(5790), 像素(3300));
    lblTitle = 新标签(this, QStringLiteral("lblTitle"), QString(), 1050, 240, 3000, 300);
    lblTitle->setFont(宋体(14.25));
    lblVersion = 新标签(this, QStringLiteral("lblVersion"), QString(), 1050, 600, 3000, 225);
    for (int i = 0; i < 2; ++i) {
        Label6[i] = 新标签(this, QStringLiteral("Label6(%1)").arg(i), QString(), 1080,
                           1080 + 240 * i, 2430, 180);
        设前景色(Label6[i], 颜色(0x00FF8080));
        Label6[i]->setCursor(Qt::PointingHandCursor);
        连接单击(Label6[i], [] { QDesktopServices::openUrl(QUrl(制作者网页)); });
    }
    Label6[0]->setText(制作者网页);
    Label6[1]->setText(制作者邮箱);
    lblDisclaimer = 新标签(this, QStringLiteral("lblDisclaimer"), QString(), 120, 1800, 3810, 420);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setText(
        QStringLiteral("警告：本软件受著作权法保护。计算结果仅供参考，请以法律规定为准。"));
    Label3 = 新标签(this, QStringLiteral("Label3"), QString(), 120, 2280, 3975, 855);
    Label3->setWordWrap(true);
    Image1 = 新标签(this, QStringLiteral("Image1"), QString(), 240, 240, 720, 720);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(像素(720)));

    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    回车可按(cmdOK);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    放置(cmdOK, 4125, 1785, 1500, 345);
    cmdSysInfo = new QPushButton(QStringLiteral("系统信息(&S)..."), this);
    回车可按(cmdSysInfo);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    放置(cmdSysInfo, 4140, 2235, 1485, 345);

    connect(cmdOK, &QPushButton::clicked, this, [this] { close(); });
    // Esc closes the window, as its 确定 does.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, cmdOK,
            &QPushButton::click);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(); });
}

void frmAbout::载入() {
    setWindowTitle(QStringLiteral("关于 ") + 消息框::应用标题);
    lblVersion->setText(QStringLiteral("版本 ") + 版本文本());
    lblTitle->setText(消息框::应用标题);
    Label3->setText(QStringLiteral("\n有关软件更新及法院办公管理其他软件请登录：") + 制作者网页);
}

void frmAbout::StartSysInfo() {
    QString program;
    if (!GetKeyValue(注册表::本机, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     QStringLiteral("PATH"), program)) {
        QString folder;
        const bool read =
            GetKeyValue(注册表::本机, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                        QStringLiteral("MSINFO"), folder);
        const QString candidate = folder + QDir::separator() + QStringLiteral("MSINFO32.EXE");
        if (!read || !QFileInfo::exists(candidate)) {
            消息框::提示(系统信息不可用);
            return;
        }
        program = candidate;
    }
    if (program.isEmpty() || !QProcess::startDetached(program, {}))
        消息框::提示(系统信息不可用);
}

void frmAbout::closeEvent(QCloseEvent *event) {
    event->accept();
    显示主窗口();
}
