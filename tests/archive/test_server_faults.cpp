// The office server failing a command, called without a window: a server that cannot be
// reached or refuses the clerk, a save cut short on it, and the limits on every wait. All need
// the tests' own server (VARNEL_TEST_PG); without it they are skipped.
#ifdef _WIN32
#include <winsock2.h> // before windows.h, which the Qt headers bring
#endif
#include "service_fixture.h"

#include <QScopeGuard>
#include <QSqlQuery>
#include <QTest>
#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

using Rows = QList<QStringList>;

const 案件行 甲行{{{"甲付", "100", "", ""}}, {{"乙", "80", "一般债权", "", "", ""}}};

// A port on the loopback interface whose connections the kernel accepts and nobody answers.
struct SilentPort {
#ifdef Q_OS_WIN
    using socklen_t = int;
    const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    SOCKET fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ~SilentPort() {
        ::closesocket(fd);
        WSACleanup();
    }
#else
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ~SilentPort() { ::close(fd); }
#endif
    int port = 0;
    SilentPort() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr *>(&a), len);
        ::listen(fd, 8);
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
        port = ntohs(a.sin_port);
    }
};

} // namespace

class TestServerFaults : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        数据库设置::语句记录 = nullptr;
        archive.reset();
    }
    void serverFaults_data();
    void serverFaults();
    void saveCutShortOnTheServer_data();
    void saveCutShortOnTheServer();
    void waitsAreBounded();

  private:
    std::unique_ptr<EngineArchive> archive;
};

void TestServerFaults::serverFaults_data() {
    QTest::addColumn<QString>("connection"); // %H socket folder, %P port, %S silent port
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("engineWords");
    QTest::newRow("refused") << "host=127.0.0.1 port=1 dbname=varnel_test user=clerk_a"
                             << "数据库服务器拒绝连接"
                             << "127.0.0.1";
    QTest::newRow("no answer") << "host=127.0.0.1 port=%S dbname=varnel_test user=clerk_a "
                                  "connect_timeout=2"
                               << "没有应答"
                               << "127.0.0.1";
    QTest::newRow("not a clerk") << "host=%H port=%P dbname=varnel_test user=outsider"
                                 << "加入 varnel_clerk"
                                 << "permission denied";
    QTest::newRow("no tables") << "host=%H port=%P dbname=postgres user=clerk_a"
                               << "没有案件档案的数据表"
                               << "案件";
    QTest::newRow("certificate not verifiable")
        << "host=127.0.0.1 port=%P dbname=varnel_test user=clerk_a sslmode=verify-full "
           "sslrootcert=/nonexistent/root.crt"
        << "证书"
        << "root.crt";
    QTest::newRow("no password") << "host=127.0.0.1 port=%P dbname=varnel_test user=needs_pw "
                                    "sslmode=disable"
                                 << 口令文件名
                                 << "password";
    QTest::newRow("backslashes as escapes") << "host=%H port=%P dbname=varnel_test user=clerk_old"
                                            << "standard_conforming_strings"
                                            << "";
    QTest::newRow("access rules over TLS") << "host=127.0.0.1 port=%P dbname=varnel_test "
                                              "user=hba_refused sslmode=require"
                                           << "不允许从这台电脑"
                                           << "pg_hba.conf";
    QTest::newRow("password file others can read")
        << "host=127.0.0.1 port=%P dbname=varnel_test user=needs_pw sslmode=disable"
        << "的权限必须是 0600"
        << "password";
}

void TestServerFaults::serverFaults() {
    QFETCH(QString, connection);
    QFETCH(QString, sentence);
    QFETCH(QString, engineWords);
    OPEN_ARCHIVE(QStringLiteral("pg"));
    static const bool roles = TestServer::get().psql(
        "varnel_test",
        "DO $$ BEGIN "
        "IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'outsider') THEN "
        "CREATE ROLE outsider LOGIN; END IF; "
        "IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'clerk_old') THEN "
        "CREATE ROLE clerk_old LOGIN IN ROLE varnel_clerk; END IF; "
        "IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'needs_pw') THEN "
        "CREATE ROLE needs_pw LOGIN PASSWORD 'x' IN ROLE varnel_clerk; END IF; END $$; "
        "GRANT CONNECT ON DATABASE varnel_test TO outsider; "
        "ALTER ROLE clerk_old SET standard_conforming_strings = off;");
    QVERIFY(roles);
    SilentPort silent;
    connection.replace("%H", TestServer::get().host)
        .replace("%P", TestServer::get().port)
        .replace("%S", QString::number(silent.port));
    QVERIFY(archive->writeIni(connection));
    // The password file libpq will not read: a line for the role, readable by all.
    QFile pgpass(archive->dir.filePath(QStringLiteral("pgpass")));
    const bool wide = QByteArray(QTest::currentDataTag()).contains("others can read");
#ifdef Q_OS_WIN
    if (wide)
        QSKIP("libpq does not check a password file's permissions on Windows");
#endif
    if (wide) {
        QVERIFY(pgpass.open(QIODevice::WriteOnly) && pgpass.write("*:*:*:needs_pw:x\n") > 0);
        pgpass.close();
        QVERIFY(pgpass.setPermissions(pgpass.permissions() | QFileDevice::ReadOther));
        qputenv("PGPASSFILE", pgpass.fileName().toLocal8Bit());
    }
    const auto unset = qScopeGuard([] { qunsetenv("PGPASSFILE"); });
    const QString error = 错误说明([] { 保存(0, QStringLiteral("甲"), 甲行); });
    const QStringList lines = error.split(u'\n');
    QVERIFY2(lines[0].contains(sentence), qPrintable(error));
    QVERIFY2(lines.mid(1).join(u'\n').contains(engineWords), qPrintable(error));
    // The settings words name the file that was read.
    if (lines[0].contains(QStringLiteral("设置文件")))
        QVERIFY2(lines[0].contains(QDir::toNativeSeparators(archive->dir.filePath("varnel.ini"))),
                 qPrintable(lines[0]));
    QCOMPARE(archive->rows("SELECT count(*) FROM 案件"), (Rows{{"0"}}));
}

// A save cut short on the server: by a statement timeout while another session holds the case,
// or by the server restarting in the middle. The stored case stays as it was, and the next save
// works.
void TestServerFaults::saveCutShortOnTheServer_data() {
    QTest::addColumn<bool>("restart");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("statement timeout") << false << "statement_timeout=500" << "超过了允许的时间";
    QTest::newRow("lock wait runs out")
        << false << "lock_timeout=300" << "别的办案人员正在保存或删除这个案件，请稍后再试。";
    QTest::newRow("server restarted") << true << "statement_timeout=500" << "案件档案没有改变";
}

void TestServerFaults::saveCutShortOnTheServer() {
    QFETCH(bool, restart);
    QFETCH(QString, options);
    QFETCH(QString, sentence);
    OPEN_ARCHIVE(QStringLiteral("pg"));
    QVERIFY(archive->writeIni(TestServer::get().clerk() + " options='-c " + options + "'"));
    const std::int32_t id = 存新案(QStringLiteral("甲"), 甲行);
    QVERIFY(id >= 1);
    const Rows before = archive->everything();
    案件行 changed = 甲行;
    changed.交款[0][0] = QStringLiteral("改过");
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "holder");
    holder.setConnectOptions(TestServer::get().clerk(QStringLiteral("varnel_admin")));
    QVERIFY(holder.open());
    QSqlQuery hold(holder);
    if (restart) {
        数据库设置::语句记录 = [](const QString &sql, bool) {
            if (sql.startsWith(QStringLiteral("delete from 交款")))
                runOnHost(QStringLiteral("bash"),
                          {QStringLiteral(VARNEL_SOURCE_DIR "/tests/archive/pg_server.sh"),
                           QStringLiteral("restart"), qEnvironmentVariable("VARNEL_TEST_PG")});
        };
    } else {
        QVERIFY(hold.exec(QStringLiteral("BEGIN")));
        QVERIFY(hold.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(id)));
    }
    const QString error = 错误说明([&] { 保存(id, {}, changed, 存后(甲行)); });
    数据库设置::语句记录 = nullptr;
    QVERIFY2(error.section(u'\n', 0, 0).contains(sentence), qPrintable(error));
    hold.exec(QStringLiteral("ROLLBACK"));
    hold = QSqlQuery();
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase("holder");
    archive->reopen(); // a restart cut the reader off
    QCOMPARE(archive->everything(), before);
    QCOMPARE(int(保存(id, {}, changed, 存后(甲行)).结果), int(写入结果::已成));
}

// Each connection waits for a lock at most 10 s and runs a statement at most 60 s, unless the
// office's connection string sets its own limit.
void TestServerFaults::waitsAreBounded() {
    OPEN_ARCHIVE(QStringLiteral("pg"));
    const auto limits = [] {
        std::unique_ptr<数据库连接> connection;
        打开数据库(connection);
        const 记录集 r = 打开记录集(*connection, QStringLiteral(
            "SELECT current_setting('lock_timeout'), current_setting('statement_timeout')"));
        return QStringList{r.值(0, 0).toString(), r.值(0, 1).toString()};
    };
    QCOMPARE(limits(), (QStringList{"10s", "1min"}));
    QVERIFY(archive->writeIni(TestServer::get().clerk() + " options='-c lock_timeout=2s'"));
    QCOMPARE(limits(), (QStringList{"2s", "1min"}));
}

int runServerFaultTests(int argc, char **argv) {
    TestServerFaults t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_server_faults.moc"
