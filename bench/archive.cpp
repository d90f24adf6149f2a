// The case archive through the case fund window's own commands, the boxes answered by script:
// save (a new case), list and load a case of 100 payments and 1 000 claim rows, and one of
// 10 000 claim rows. The save is set against a floor measured in the same run: the same rows
// inserted by one prepared, parameter-bound INSERT in one transaction through Qt SQL.
// The same run goes to a PostgreSQL server of the benchmark's own (the tests' server script),
// reached through a proxy that holds every chunk 1 ms each way, as across an office network; its
// floor is the same rows sent with COPY … FROM STDIN through libpq over the same proxy, connection
// and transaction included. The list of 10 000 stored cases is timed on both.
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/message_box.h"
#include "delay_proxy.h"
#include "timing.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <functional>
#include <algorithm>
#include <cstdio>
#include <libpq-fe.h>
#include <vector>

namespace {

QString 新数据库(const QTemporaryDir &dir) {
    const QString file = QDir(dir.path()).filePath(QStringLiteral("varnel.db"));
    QProcess shell;
    shell.setStandardInputFile(QStringLiteral(VARNEL_SCHEMA_FILE));
    shell.start(QStringLiteral("sqlite3"), {file});
    shell.waitForFinished();
    return file;
}

QStringList 交款行(int r) {
    return {QStringLiteral("交款人%1").arg(r), QString::number(1000 + r * 3.5, 'f', 2),
            QStringLiteral("2024-3-%1").arg(1 + r % 28), QStringLiteral("第%1笔").arg(r)};
}

QStringList 债权行(int r) {
    static const char *natures[] = {"诉讼费用", "抵押", "工资", "劳动保险", "税款", "一般债权"};
    return {QStringLiteral("债权人%1").arg(r),
            QString::number(100 + r * 7.13, 'f', 2),
            QString::fromUtf8(natures[r % 6]),
            r % 6 == 1 ? QString::number(50 + r) : QString(),
            QString(),
            QStringLiteral("备注%1").arg(r)};
}

void 填入(Fo案款分配计算 &w, int claims) {
    w.MSFjk->setRows(102);
    for (int r = 1; r <= 100; ++r) {
        const QStringList cells = 交款行(r);
        for (int k = 0; k < 4; ++k)
            w.MSFjk->setTextMatrix(r, k, cells[k]);
    }
    w.MSFzc->setRows(claims + 2);
    for (int r = 1; r <= claims; ++r) {
        const QStringList cells = 债权行(r);
        for (int k = 0; k < 6; ++k)
            w.MSFzc->setTextMatrix(r, k, cells[k]);
    }
    w.分配计算();
}

// The floor: the same rows through one prepared INSERT per table in one transaction.
double 下限(const QString &file, int claims) {
    double ms = 0;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(file);
        db.open();
        ms = 毫秒([&] {
            QSqlQuery q(db);
            q.exec(QStringLiteral("BEGIN IMMEDIATE"));
            q.exec(QStringLiteral("insert into 案件 ( 名称 ) values ('下限')"));
            const qlonglong id = q.lastInsertId().toLongLong();
            QSqlQuery pay(db);
            pay.prepare(QStringLiteral("insert into 交款 (ajid, 交款人, 金额, 交款时间, 备注) "
                                       "values (?, ?, ?, ?, ?)"));
            for (int r = 1; r <= 101; ++r) {
                const QStringList cells = r <= 100 ? 交款行(r) : QStringList(4, QString());
                pay.addBindValue(id);
                for (const QString &c : cells)
                    pay.addBindValue(c.isEmpty() ? QVariant() : QVariant(c));
                pay.exec();
            }
            QSqlQuery claim(db);
            claim.prepare(
                QStringLiteral("insert into 债权 (ajid, 债权人, 债权金额, 债权性质, "
                               "其中抵押优先金额, 分配金额, 备注) values (?, ?, ?, ?, ?, ?, ?)"));
            for (int r = 1; r <= claims + 1; ++r) {
                const QStringList cells = r <= claims ? 债权行(r) : QStringList(6, QString());
                claim.addBindValue(id);
                for (const QString &c : cells)
                    claim.addBindValue(c.isEmpty() ? QVariant() : QVariant(c));
                claim.exec();
            }
            q.exec(QStringLiteral("COMMIT"));
        });
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
    return ms;
}

struct 结果 {
    double 保存, 下限, 列出, 读出;
    double 覆盖, 无记录覆盖; // an overwrite that keeps the replaced rows, and one without the record
};

// One row in COPY's text form: tab-separated, \N for an empty cell, backslashes, tabs and line
// breaks escaped.
QByteArray COPY行(qlonglong id, const QStringList &cells) {
    QByteArray line = QByteArray::number(id);
    for (const QString &c : cells) {
        line += '\t';
        if (c.isEmpty()) {
            line += "\\N";
            continue;
        }
        QByteArray v = c.toUtf8();
        v.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r");
        line += v;
    }
    return line + '\n';
}

bool 送COPY(PGconn *c, const char *sql, qlonglong id, int rows,
            const std::function<QStringList(int)> &row, int width) {
    PQclear(PQexec(c, sql));
    QByteArray data;
    for (int r = 1; r <= rows + 1; ++r)
        data += COPY行(id, r <= rows ? row(r) : QStringList(width, QString()));
    if (PQputCopyData(c, data.constData(), int(data.size())) != 1 || PQputCopyEnd(c, nullptr) != 1)
        return false;
    bool ok = true;
    while (PGresult *res = PQgetResult(c)) {
        ok = ok && PQresultStatus(res) == PGRES_COMMAND_OK;
        PQclear(res);
    }
    return ok;
}

// The server's floor: a connection through the proxy, the case row, both tables' rows by COPY,
// the commit.
double 服务器下限(int claims, int proxyPort) {
    const QByteArray conninfo =
        QStringLiteral("host=127.0.0.1 port=%1 dbname=varnel_bench user=clerk_bench")
            .arg(proxyPort)
            .toUtf8();
    bool ok = true;
    const double ms = 毫秒([&] {
        PGconn *c = PQconnectdb(conninfo.constData());
        PQclear(PQexec(c, "BEGIN"));
        PGresult *id = PQexec(c, "INSERT INTO 案件 (名称) VALUES ('下限') RETURNING ajid");
        const qlonglong ajid = QByteArray(PQgetvalue(id, 0, 0)).toLongLong();
        PQclear(id);
        ok = 送COPY(c, "COPY 交款 (ajid, 交款人, 金额, 交款时间, 备注) FROM STDIN", ajid, 100, 交款行, 4) &&
             送COPY(c, "COPY 债权 (ajid, 债权人, 债权金额, 债权性质, 其中抵押优先金额, 分配金额, 备注) "
                       "FROM STDIN",
                    ajid, claims, 债权行, 6);
        PGresult *done = PQexec(c, "COMMIT");
        ok = ok && qstrcmp(PQcmdStatus(done), "COMMIT") == 0;
        PQclear(done);
        PQfinish(c);
    });
    if (!ok)
        std::fprintf(stderr, "the COPY floor failed\n");
    return ms;
}

// The server of this run, or none: its socket folder and port, and the proxy's port.
struct 服务器 {
    QString 状态文件;
    QString 目录, 端口;
    std::unique_ptr<延迟代理> 代理;
} 服务器端;

bool psql(const QString &sql) {
    QProcess p;
    p.start(QStringLiteral("psql"), {"-X", "-q", "-h", 服务器端.目录, "-p", 服务器端.端口, "-U",
                                     "varnel_admin", "-d", "varnel_bench", "-c", sql});
    return p.waitForFinished(600000) && p.exitCode() == 0;
}

bool 起服务器(const QString &stateFile) {
    QProcess start;
    start.start(QStringLiteral("bash"),
                {BENCH_SOURCE_DIR "/tests/archive/pg_server.sh", "start", stateFile});
    if (!start.waitForFinished(120000) || start.exitCode() != 0)
        return false;
    QFile state(stateFile);
    state.open(QIODevice::ReadOnly);
    const QStringList lines = QString::fromUtf8(state.readAll()).split(u'\n');
    服务器端 = {stateFile, lines.value(0), lines.value(1), nullptr};
    QProcess setup;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PGHOST", 服务器端.目录);
    env.insert("PGPORT", 服务器端.端口);
    env.insert("PGUSER", "varnel_admin");
    setup.setProcessEnvironment(env);
    setup.start(QStringLiteral("bash"), {BENCH_SOURCE_DIR "/scripts/setup-office-archive.sh",
                                         "varnel_bench", "clerk_bench"});
    setup.waitForFinished(120000);
    服务器端.代理 = std::make_unique<延迟代理>(服务器端.端口.toInt(), std::chrono::milliseconds(1));
    return setup.exitCode() == 0;
}

// The application directory of one run: a fresh varnel.db, or a varnel.ini naming the server
// (through the proxy) whose tables are emptied first.
QString 新档案(const QTemporaryDir &dir, bool server) {
    设应用目录(加尾分隔符(dir.path()));
    if (!server)
        return 新数据库(dir);
    psql(QStringLiteral("DELETE FROM 交款; DELETE FROM 债权; DELETE FROM 案件"));
    QFile ini(QDir(dir.path()).filePath(QStringLiteral("varnel.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write(QStringLiteral("[archive]\nconnection=host=127.0.0.1 port=%1 dbname=varnel_bench "
                             "user=clerk_bench\n")
                  .arg(服务器端.代理->端口号())
                  .toUtf8());
    return QString();
}

// The record's triggers off (on the server until turned on again): a save then keeps nothing.
void 记录触发器(const QString &file, bool server, bool on) {
    if (server) {
        const QString verb = on ? QStringLiteral("ENABLE") : QStringLiteral("DISABLE");
        psql(QStringLiteral("ALTER TABLE 案件 %1 TRIGGER 记下删除的案件; ALTER TABLE 交款 %1 "
                            "TRIGGER 记下交款; ALTER TABLE 债权 %1 TRIGGER 记下债权;")
                 .arg(verb));
    } else if (!on) {
        QProcess p;
        p.start(QStringLiteral("sqlite3"), {file, QStringLiteral("DROP TRIGGER 记下删除的案件; "
                                                                 "DROP TRIGGER 记下交款; DROP "
                                                                 "TRIGGER 记下债权;")});
        p.waitForFinished();
    }
}

结果 一次(int claims, bool server) {
    QTemporaryDir dir;
    const QString file = 新档案(dir, server);
    结果 r{};
    {
        Fo案款分配计算 w;
        w.show();
        填入(w, claims);
        QCoreApplication::processEvents();
        r.保存 = 毫秒([&] { w.存入内容->trigger(); });
        r.覆盖 = 毫秒([&] { w.存入内容->trigger(); });
        记录触发器(file, server, false);
        r.无记录覆盖 = 毫秒([&] { w.存入内容->trigger(); });
        记录触发器(file, server, true);
        w.Com清除->click();
        QCoreApplication::processEvents();
        r.列出 = 毫秒([&] { w.读出内容->trigger(); });
        r.读出 = 毫秒([&] { w.Com确定->click(); });
        if (w.MSFzc->Rows() != claims + 2)
            std::fprintf(stderr, "load gave %d rows\n", w.MSFzc->Rows());
        w.close();
    }
    r.下限 = server ? 服务器下限(claims, 服务器端.代理->端口号()) : 下限(file, claims);
    return r;
}

void 测(int claims, int runs, bool server) {
    std::vector<double> save, floor, list, load, kept, unkept;
    for (int i = 0; i < runs; ++i) {
        const 结果 r = 一次(claims, server);
        kept.push_back(r.覆盖);
        unkept.push_back(r.无记录覆盖);
        save.push_back(r.保存);
        floor.push_back(r.下限);
        list.push_back(r.列出);
        load.push_back(r.读出);
    }
    if (server)
        std::printf("server, 1 ms each way: 100 payments, %5d claim rows: save %7.1f ms (COPY "
                    "floor %6.1f ms, ratio %.2f), load %7.1f ms  [median of %d]\n",
                    claims, 中位数(save), 中位数(floor), 中位数(save) / 中位数(floor), 中位数(load),
                    runs);
    else
        std::printf("SQLite: 100 payments, %5d claim rows: save %7.1f ms (floor %6.1f ms, ratio "
                    "%.2f), list %5.2f ms, load %7.1f ms  [median of %d]\n",
                    claims, 中位数(save), 中位数(floor), 中位数(save) / 中位数(floor), 中位数(list),
                    中位数(load), runs);
    std::printf("  overwrite of that case: %7.1f ms keeping the replaced rows, %7.1f ms without the "
                "record (ratio %.2f)\n",
                中位数(kept), 中位数(unkept), 中位数(kept) / 中位数(unkept));
}

// The list of 10 000 stored cases: the list command from its click to the filled list.
void 测列表(bool server) {
    QTemporaryDir dir;
    const QString file = 新档案(dir, server);
    const QString names = QStringLiteral("SELECT '（2024）执字第' || n || '号' FROM ");
    const QString fill =
        server ? "INSERT INTO 案件 (名称) " + names + "generate_series(1, 10000) AS s(n)"
               : "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 10000) "
                 "INSERT INTO 案件 (名称) " +
                     names + "c";
    if (server) {
        psql(fill);
    } else {
        QProcess p;
        p.start(QStringLiteral("sqlite3"), {file, fill});
        p.waitForFinished();
    }
    Fo案款分配计算 w;
    w.show();
    QCoreApplication::processEvents();
    const double ms = 中位毫秒(5, [&] { w.读出内容->trigger(); });
    // Filtering as the clerk types: "9" keeps a tenth of the names, "99" a hundredth.
    auto *filter = w.findChild<QLineEdit *>(QStringLiteral("Txt案件筛选"));
    const double typed = 中位毫秒(5, [&] {
        filter->clear();
        filter->setText(QStringLiteral("9"));
        filter->setText(QStringLiteral("99"));
    });
    std::printf("%s: list of %d stored cases %7.1f ms, filter as typed (2 keys) %6.1f ms  "
                "[median of 5]\n",
                server ? "server, 1 ms each way" : "SQLite", w.MSFysj->Rows() - 1, ms, typed);
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    消息框::应答器 = [](消息框::框类, const QString &, const QString &) {
        return 消息框::框应答{true, QStringLiteral("基准案件")};
    };
    测(1000, 9, false);
    测(10000, 5, false);
    测列表(false);
    QTemporaryDir state;
    if (!起服务器(QDir(state.path()).filePath(QStringLiteral("pg.state")))) {
        std::printf("no PostgreSQL server could be started: server run left out\n");
        return 0;
    }
    测(1000, 9, true);
    测(10000, 5, true);
    测列表(true);
    服务器端.代理.reset();
    QProcess::execute(QStringLiteral("bash"),
                      {BENCH_SOURCE_DIR "/tests/archive/pg_server.sh", "stop", 服务器端.状态文件});
    return 0;
}
