#pragma once

// The archive on either engine for the same test: a varnel.db made from the schema file in a
// temporary application directory, or the tests' own PostgreSQL server (see pg_server.sh),
// set up once per test program with the office's setup script and named in a varnel.ini there.

#include "archive_fixture.h"
#include "host_path.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>

struct TestServer {
    QString socketFolder; // for the host's programs
    QString host;         // for the program under test: the socket folder, on Windows TCP
    QString port;
    bool ok = false;

    static TestServer &get() {
        static TestServer server = [] {
            TestServer s;
            QFile state(qEnvironmentVariable("VARNEL_TEST_PG"));
            if (!state.open(QIODevice::ReadOnly))
                return s;
            const QStringList lines = QString::fromUtf8(state.readAll()).split(u'\n');
            s.socketFolder = lines.value(0);
#ifdef Q_OS_WIN
            s.host = QStringLiteral("127.0.0.1");
#else
            s.host = s.socketFolder;
#endif
            s.port = lines.value(1);
            s.ok = !s.socketFolder.isEmpty() && s.setup();
            return s;
        }();
        return server;
    }

    // Runs a host program (the office's setup script, psql) as the server's superuser, with the
    // given text as its input.
    bool run(const QString &program, const QStringList &args, const QByteArray &input = {}) const {
        QTemporaryFile in;
        if (!in.open() || in.write(input) != input.size() || !in.flush())
            return false;
        const HostRun done =
            runOnHost(QStringLiteral("env"),
                      QStringList{"PGHOST=" + socketFolder, "PGPORT=" + port,
                                  QStringLiteral("PGUSER=varnel_admin"), program} +
                          args,
                      in.fileName());
        if (done.exitCode != 0) {
            qWarning("%s: %s", qPrintable(program), done.err.constData());
            return false;
        }
        return true;
    }
    bool psql(const QString &db, const QString &sql) const {
        return run(QStringLiteral("psql"), {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", db},
                   sql.toUtf8());
    }

    // The connection string of a clerk, as an office writes it into varnel.ini.
    QString clerk(const QString &user = QStringLiteral("clerk_a"),
                  const QString &db = QStringLiteral("varnel_test")) const {
        return QStringLiteral("host=%1 port=%2 dbname=%3 user=%4").arg(host, port, db, user);
    }

  private:
    bool setup() const {
        return run(QStringLiteral("bash"),
                   {QStringLiteral(VARNEL_SOURCE_DIR "/scripts/setup-office-archive.sh"),
                    "varnel_test", "clerk_a", "clerk_b"});
    }
};

// One test's archive: an application directory holding varnel.db, or varnel.ini naming the
// server, whose tables are emptied first.
class EngineArchive {
  public:
    explicit EngineArchive(const QString &engine) : server(engine == QLatin1String("pg")) {
        if (server) {
            ok = TestServer::get().ok &&
                 TestServer::get().psql("varnel_test", "DELETE FROM 交款; DELETE FROM 债权; "
                                                       "DELETE FROM 案件; DELETE FROM 案件版本;") &&
                 writeIni(TestServer::get().clerk());
        } else {
            ok = makeCaseDatabase(dir.filePath(QStringLiteral("varnel.db")));
        }
    }
    ~EngineArchive() { reopen(); }
    // Lets the reader's connection go; the next read opens a new one.
    void reopen() {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    bool ok = false;
    bool server;
    QTemporaryDir dir;

    bool writeIni(const QString &connection) {
        QFile ini(dir.filePath(QStringLiteral("varnel.ini")));
        return ini.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               ini.write(("[archive]\nconnection=" + connection + "\n").toUtf8()) > 0;
    }

    // The stored rows, read apart from the program's access code; NULL reads as "<NULL>".
    QList<QStringList> rows(const QString &sql) {
        QSqlQuery q(db());
        if (!q.exec(sql)) {
            qWarning("reader: %s", qPrintable(q.lastError().text()));
            return {};
        }
        return queryRows(q);
    }
    // Every stored case by name with its rows, in key order.
    QList<QStringList> everything() {
        QList<QStringList> all = rows(
            "SELECT 'c', 名称, 0, '', '', '', '', '', '' FROM 案件 UNION ALL "
            "SELECT 'p', 名称, id, 交款人, 金额, 交款时间, 备注, '', '' FROM 交款 "
            "JOIN 案件 ON 案件.ajid = 交款.ajid UNION ALL "
            "SELECT 'd', 名称, id, 债权人, 债权金额, 债权性质, 其中抵押优先金额, 分配金额, 备注 "
            "FROM 债权 JOIN 案件 ON 案件.ajid = 债权.ajid ORDER BY 1, 2, 3");
        for (QStringList &row : all)
            row.removeAt(2); // the row key: it orders the rows, its value differs by engine
        return all;
    }

  private:
    QSqlDatabase db() {
        if (QSqlDatabase::contains(name))
            return QSqlDatabase::database(name);
        QSqlDatabase d;
        if (server) {
            d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            d.setConnectOptions(TestServer::get().clerk(QStringLiteral("varnel_admin")));
        } else {
            d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            d.setDatabaseName(dir.filePath(QStringLiteral("varnel.db")));
        }
        d.open();
        return d;
    }
    QString name = QStringLiteral("engine-reader");
};
