// The archive's reads called without a window, on both engines: the list of stored cases, a
// case loaded whole, a case's history, the deleted cases and a deleted case stored again.
#include "archive/sql_text.h"
#include "service_fixture.h"

#include <QDate>
#include <QFile>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTest>
#include <algorithm>

namespace {

using Rows = QList<QStringList>;

const 案件行 甲行{{{"O'Brien", "100", "2020-5-10", "首付"}, {"", "", "", ""}},
                  {{"丙'; --", "80", "一般债权", "", "", "x"}, {"丁", "20", "工资", "", "", ""}}};

} // namespace

class TestCaseReads : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        数据库设置::语句记录 = nullptr;
        archive.reset();
    }
    void listOldestFirst_data() { 两种引擎(); }
    void listOldestFirst();
    void load_data();
    void load();
    void historyAndDeletedCases_data() { 两种引擎(); }
    void historyAndDeletedCases();

  private:
    std::unique_ptr<EngineArchive> archive;
};

// The stored cases by number, oldest first; a name stored with trailing blanks (by another
// program) is listed without them.
void TestCaseReads::listOldestFirst() {
    QFETCH(QString, engine);
    OPEN_ARCHIVE(engine);
    QStringList numbers;
    for (const char *name : {"丙案", "甲案", "乙案"})
        numbers << QString::number(存新案(QString::fromUtf8(name), 甲行));
    archive->rows("INSERT INTO 案件 (名称) VALUES ('丁案   ')");
    QStringList names, listed;
    for (const 案件条目 &c : 列出案件()) {
        names << c.名称;
        listed << c.案件号;
    }
    QCOMPARE(names, (QStringList{"丙案", "甲案", "乙案", "丁案"}));
    QCOMPARE(listed.mid(0, 3), numbers);
    QVERIFY(listed[3].toInt() > listed[2].toInt());
}

// The case is listed, then: nothing; another program deletes it; another program changes its
// claims between the load's two reads; the load fails at its connection or at either read.
// A load reads one state whole, or says the case is gone, or raises: never part of a case.
void TestCaseReads::load_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("expected"); // "rows", "none", or the start of the error's words
    for (const char *engine : {"sqlite", "pg"}) {
        const bool server = qstrcmp(engine, "pg") == 0;
        auto row = [engine](const char *event, const QString &expected) {
            QTest::addRow("%s, %s", engine, event) << engine << event << expected;
        };
        row("as stored", "rows");
        row("deleted since the list", "none");
        // On a server the load's snapshot; on SQLite the change waits for the load and, with no
        // wait allowed, fails.
        row("claims changed between the reads", "rows");
        // A refused port (TCP on Windows) or a missing socket file (here): either is said.
        row("connect fails", server ? QStringLiteral("不能连接数据库服务器。|数据库服务器拒绝连接")
                                    : QStringLiteral("找不到案件数据库文件，不能读出案件。"));
        row("payments read fails", "读到一半出错了");
        row("claims read fails", "读到一半出错了");
    }
}

void TestCaseReads::load() {
    QFETCH(QString, engine);
    QFETCH(QString, event);
    QFETCH(QString, expected);
    OPEN_ARCHIVE(engine);
    const std::int32_t id = 存新案(QStringLiteral("甲"), 甲行);
    QVERIFY(id >= 1);
    QSqlDatabase writer = QSqlDatabase::addDatabase(archive->server ? "QPSQL" : "QSQLITE", "writer");
    const auto dropWriter = qScopeGuard([&writer] {
        writer.close();
        writer = QSqlDatabase();
        QSqlDatabase::removeDatabase("writer");
    });
    const QString file = archive->dir.filePath(QStringLiteral("varnel.db"));
    if (event == QLatin1String("deleted since the list")) {
        for (const char *table : {"交款", "债权", "案件"})
            archive->rows(QStringLiteral("DELETE FROM %1").arg(QString::fromUtf8(table)));
    } else if (event == QLatin1String("claims changed between the reads")) {
        if (archive->server) {
            writer.setConnectOptions(TestServer::get().clerk(QStringLiteral("varnel_admin")));
        } else {
            writer.setDatabaseName(file);
            writer.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        }
        QVERIFY(writer.open());
        数据库设置::语句记录 = [&writer](const QString &sql, bool) {
            if (sql.contains(QStringLiteral("FROM 债权 WHERE")))
                QSqlQuery(writer).exec(QStringLiteral("UPDATE 债权 SET 债权人 = '后来的'"));
        };
    } else if (event == QLatin1String("connect fails")) {
        if (archive->server) {
            QVERIFY(archive->writeIni(TestServer::get().clerk().replace(
                QStringLiteral("port=") + TestServer::get().port, QStringLiteral("port=1"))));
        } else {
            archive->reopen(); // Windows renames no file a connection holds open
            QVERIFY(QFile::rename(file, file + QStringLiteral(".away")));
        }
    } else if (event != QLatin1String("as stored")) {
        const QString sql = event.startsWith(QLatin1String("payments")) ? 案件语句::读交款(id)
                                                                        : 案件语句::读债权(id);
        数据库设置::语句记录 = [sql](const QString &text, bool) {
            if (text == sql)
                throw VarnelError(QStringLiteral("读到一半出错了"));
        };
    }
    std::optional<案件行> stored;
    const QString error = 错误说明([&] { stored = 读出存储案件(id); });
    数据库设置::语句记录 = nullptr;
    if (expected == QLatin1String("rows") || expected == QLatin1String("none")) {
        QCOMPARE(error, QStringLiteral("<none>"));
        QCOMPARE(stored, expected == QLatin1String("rows") ? std::optional<案件行>(存后(甲行))
                                                           : std::nullopt);
    } else {
        const QStringList ways = expected.split(u'|');
        QVERIFY2(std::any_of(ways.begin(), ways.end(),
                             [&](const QString &way) { return error.startsWith(way); }),
                 qPrintable(error));
        QVERIFY(!stored);
    }
}

// An overwrite keeps the rows it replaced, a delete the rows it removed, each with the clerk
// (the login on a server; on a PC the operating system's user) and the time; the states read
// newest first; a deleted case is stored again under its name, or beside a case of that name.
// A file of the old layout gains the record and loses nothing.
void TestCaseReads::historyAndDeletedCases() {
    QFETCH(QString, engine);
    OPEN_ARCHIVE(engine);
    archive->rows("INSERT INTO 案件 (名称) VALUES ('旧案')");
    const Rows old = archive->everything();
    if (!archive->server)
        QCOMPARE(archive->rows("SELECT count(*) FROM sqlite_master WHERE name LIKE '%版本%'"),
                 Rows{{"0"}});
    archive->reopen();
    const std::int32_t id = 存新案(QStringLiteral("甲"), 甲行);
    案件行 changed = 存后(甲行);
    changed.债权[0][1] = QStringLiteral("90");
    QCOMPARE(int(保存(id, {}, changed, 存后(甲行)).结果), int(写入结果::已成));

    const QString clerk = archive->server
                              ? QStringLiteral("clerk_a")
                              : archive->rows("SELECT 办案人员 FROM 案件版本").value(0).value(0);
    QVERIFY(!clerk.isEmpty());
    const QList<版本摘要> states = 读案件历史(id);
    QCOMPARE(states.size(), 2);
    auto summary = [](const 版本摘要 &s) {
        return QStringList{s.办案人员, s.操作, QString::number(s.交款行数),
                           QString::number(s.债权行数)};
    };
    // What is stored now, saved by the overwrite; then the first save's rows, whose time the
    // record does not hold. Blank rows do not count.
    QCOMPARE(summary(states[0]), (QStringList{clerk, "当前", "1", "2"}));
    QCOMPARE(states[0].债权金额合计, 元(110));
    QVERIFY2(states[0].时间.startsWith(QDate::currentDate().toString(Qt::ISODate)),
             qPrintable(states[0].时间));
    QCOMPARE(summary(states[1]), (QStringList{"", "保存", "1", "2"}));
    QCOMPARE(states[1].时间, QString());
    QCOMPARE(states[1].债权金额合计, 元(100));
    QCOMPARE(读状态行(id, 0), changed);
    QCOMPARE(读状态行(id, states[1].版本), 存后(甲行));
    // The kept rows saved again, as the window puts a version back; then the case deleted.
    QCOMPARE(int(保存(id, {}, 读状态行(id, states[1].版本), changed).结果), int(写入结果::已成));
    QCOMPARE(int(删除案件(id, 存后(甲行)).结果), int(写入结果::已成));
    QCOMPARE(archive->rows("SELECT 名称, 办案人员, 操作 FROM 案件版本 ORDER BY 版本"),
             (Rows{{"甲", clerk, "保存"}, {"甲", clerk, "保存"}, {"甲", clerk, "删除"}}));
    QCOMPARE(archive->rows("SELECT 债权金额 FROM 债权版本 WHERE 债权人 = '丙''; --' ORDER BY 版本"),
             (Rows{{"80"}, {"90"}, {"80"}}));

    存新案(QStringLiteral("甲"), 甲行);
    for (const char *restored : {"甲 (恢复)", "甲 (恢复2)"}) {
        const QList<版本摘要> deleted = 列出已删除案件();
        QCOMPARE(deleted.size(), 1);
        QCOMPARE(deleted[0].名称, QStringLiteral("甲"));
        QString name;
        const std::int32_t back = 存回已删除案件(deleted[0].版本, deleted[0].名称, name);
        QCOMPARE(name, QString::fromUtf8(restored));
        QCOMPARE(读出存储案件(back), std::optional<案件行>(存后(甲行)));
    }
    QCOMPARE(archive->rows("SELECT c.名称, count(*) FROM 案件 c JOIN 债权 d ON d.ajid = c.ajid "
                           "WHERE d.债权人 = '丙''; --' GROUP BY c.名称 ORDER BY c.名称"),
             (Rows{{"甲", "1"}, {"甲 (恢复)", "1"}, {"甲 (恢复2)", "1"}}));
    QVERIFY(archive->everything().contains(old.value(0)));
}

int runCaseReadTests(int argc, char **argv) {
    TestCaseReads t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_case_reads.moc"
