// One clerk for the two-clerks test: for the given seconds it saves new cases of its own, saves
// them again with other rows, loads and deletes them, and saves over the one case all clerks
// share; first of all it saves a case under the name every clerk tries at the same moment.
// Every row of a save carries the case's name and a tag "clerk/round/rows" in its remark, so
// that the test can tell a case holding rows of another, or half of a save. It prints one line
// per save or delete that told it "保存成功！" or "删除成功！": "saved NAME TAG" or "deleted NAME".
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/message_box.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRandomGenerator>
#include <cstdio>

namespace {

QString 回答名称;
QString 最后提示;

void 填(Fo案款分配计算 &w, const QString &name, const QString &tag, int rows) {
    w.MSFjk->setRows(rows + 1);
    w.MSFzc->setRows(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        w.MSFjk->setTextMatrix(r, 0, name);
        w.MSFjk->setTextMatrix(r, 1, QString::number(r));
        w.MSFjk->setTextMatrix(r, 3, tag);
        w.MSFzc->setTextMatrix(r, 0, name);
        w.MSFzc->setTextMatrix(r, 1, QString::number(r));
        w.MSFzc->setTextMatrix(r, 2, QStringLiteral("一般债权"));
        w.MSFzc->setTextMatrix(r, 5, tag);
    }
}

void 报(const char *what, const QString &name, const QString &tag = QString()) {
    std::printf("%s %s %s\n", what, name.toUtf8().constData(), tag.toUtf8().constData());
    std::fflush(stdout);
}

// Saves the window's case; true when the program said so.
bool 存(Fo案款分配计算 &w, const QString &name) {
    回答名称 = name;
    最后提示.clear();
    w.存入内容->trigger();
    return 最后提示 == QStringLiteral("保存成功！");
}

// Lists the stored cases and loads the one of that name; false when it is not listed.
bool 读(Fo案款分配计算 &w, const QString &name) {
    w.读出内容->trigger();
    for (int r = 1; r < w.MSFysj->Rows(); ++r)
        if (w.MSFysj->TextMatrix(r, 1) == name) {
            w.MSFysj->setRow(r);
            w.Com确定->click();
            return true;
        }
    w.Comm取消->click();
    return false;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    设应用目录(加尾分隔符(QString::fromLocal8Bit(argv[1])));
    const QString clerk = QString::fromLocal8Bit(argv[2]);
    const int seconds = QString::fromLocal8Bit(argv[3]).toInt();
    消息框::应答器 = [](消息框::框类, const QString &text, const QString &) {
        最后提示 = text;
        return 消息框::框应答{true, 回答名称};
    };
    QRandomGenerator random(clerk.toUInt() + 17);
    QElapsedTimer clock;
    clock.start();
    Fo案款分配计算 w;
    w.show();
    // The race: all clerks save a new case of the same name at once.
    填(w, QStringLiteral("同名"), clerk + QStringLiteral("/0/3"), 3);
    if (存(w, QStringLiteral("同名")))
        报("saved", QStringLiteral("同名"), clerk + QStringLiteral("/0/3"));
    for (int round = 1; clock.elapsed() < seconds * 1000; ++round) {
        w.Com清除->click();
        const int rows = 1 + int(random.bounded(40));
        const QString tag = QStringLiteral("%1/%2/%3").arg(clerk).arg(round).arg(rows);
        const int what = int(random.bounded(4));
        if (what == 0) { // the shared case, loaded when stored, new otherwise
            const QString name = QStringLiteral("公共");
            读(w, name);
            填(w, name, tag, rows);
            if (存(w, name))
                报("saved", name, tag);
            continue;
        }
        const QString name = QStringLiteral("%1号的案件%2").arg(clerk).arg(random.bounded(5));
        if (!读(w, name)) {
            w.Com清除->click();
            填(w, name, tag, rows);
            if (存(w, name))
                报("saved", name, tag);
        } else if (what == 1) {
            最后提示.clear();
            w.Com删除案件->click();
            if (最后提示 == QStringLiteral("删除成功！"))
                报("deleted", name);
        } else {
            填(w, name, tag, rows);
            if (存(w, name))
                报("saved", name, tag);
        }
    }
    return 0;
}
