// One clerk for the eight-clerks test, calling the archive as the case fund window calls it: for
// the given seconds it saves new cases of its own, saves them again with other rows, loads and
// deletes them, and saves over the one case all clerks share; first of all it saves a case under
// the name every clerk tries at the same moment. Asked whether to overwrite or delete another
// clerk's change, it answers 是. Every row of a save carries the case's name and a tag
// "clerk/round/rows" in its remark, so that the test can tell a case holding rows of another, or
// half of a save. It prints one line per save or delete that was done: "saved NAME TAG" or
// "deleted NAME".
#include "archive/case_archive.h"
#include "common/app_dir.h"
#include "common/varnel_error.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>

namespace {

// The case on hand: its number (0: none stored) and the rows it was loaded or saved as.
struct 手上 {
    std::int32_t 号 = 0;
    案件行 读出时行;
};

案件行 行(const QString &name, const QString &tag, int rows) {
    案件行 made;
    for (int r = 1; r <= rows; ++r) {
        made.交款 << QStringList{name, QString::number(r), QString(), tag};
        made.债权 << QStringList{name, QString::number(r), QStringLiteral("一般债权"), {}, {}, tag};
    }
    return made;
}

void 报(const char *what, const QString &name, const QString &tag = QString()) {
    std::printf("%s %s %s\n", what, name.toUtf8().constData(), tag.toUtf8().constData());
    std::fflush(stdout);
}

// Saves `rows` as the case on hand, or as a new case named `name` when none; true when stored.
bool 存(手上 &c, const QString &name, const 案件行 &rows) {
    try {
        for (;;) {
            std::unique_ptr<数据库连接> connection;
            打开数据库(connection, 数据库用途::保存);
            写入结局 result = 保存案件(*connection, c.号, name, rows, c.读出时行);
            if (result.结果 == 写入结果::已变) {
                c.读出时行 = std::move(result.行);
                continue;
            }
            if (result.结果 != 写入结果::已成)
                return false;
            c = {result.案件号, std::move(result.行)};
            return true;
        }
    } catch (const VarnelError &) {
        return false;
    }
}

// Loads the listed case of that name; false when it is not listed or no longer stored.
bool 读(手上 &c, const QString &name) {
    try {
        for (const 案件条目 &listed : 列出案件())
            if (listed.名称 == name) {
                const std::int32_t id = listed.案件号.toInt();
                std::optional<案件行> rows = 读出存储案件(id);
                if (rows)
                    c = {id, std::move(*rows)};
                return rows.has_value();
            }
    } catch (const VarnelError &) {
    }
    return false;
}

bool 删(手上 &c) {
    try {
        for (;;) {
            写入结局 result = 删除案件(c.号, c.读出时行);
            if (result.结果 != 写入结果::已变)
                return result.结果 == 写入结果::已成;
            c.读出时行 = std::move(result.行);
        }
    } catch (const VarnelError &) {
        return false;
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    设应用目录(加尾分隔符(QString::fromLocal8Bit(argv[1])));
    const QString clerk = QString::fromLocal8Bit(argv[2]);
    const int seconds = QString::fromLocal8Bit(argv[3]).toInt();
    QRandomGenerator random(clerk.toUInt() + 17);
    QElapsedTimer clock;
    clock.start();
    手上 c;
    // The race: all clerks save a new case of the same name at once.
    if (存(c, QStringLiteral("同名"), 行(QStringLiteral("同名"), clerk + QStringLiteral("/0/3"), 3)))
        报("saved", QStringLiteral("同名"), clerk + QStringLiteral("/0/3"));
    for (int round = 1; clock.elapsed() < seconds * 1000; ++round) {
        c = {};
        const int rows = 1 + int(random.bounded(40));
        const QString tag = QStringLiteral("%1/%2/%3").arg(clerk).arg(round).arg(rows);
        const int what = int(random.bounded(4));
        if (what == 0) { // the shared case, loaded when stored, new otherwise
            const QString name = QStringLiteral("公共");
            读(c, name);
            if (存(c, name, 行(name, tag, rows)))
                报("saved", name, tag);
            continue;
        }
        const QString name = QStringLiteral("%1号的案件%2").arg(clerk).arg(random.bounded(5));
        if (!读(c, name)) {
            c = {};
            if (存(c, name, 行(name, tag, rows)))
                报("saved", name, tag);
        } else if (what == 1) {
            if (删(c))
                报("deleted", name);
        } else if (存(c, name, 行(name, tag, rows))) {
            报("saved", name, tag);
        }
    }
    return 0;
}
