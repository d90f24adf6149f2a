// The archive's commands failing, called without a window: a file that cannot be used, a write
// refused part-way, a server that cannot be reached or cuts a save short. Each says why in the
// clerk's words and leaves the archive exactly as it was; once the fault is gone the same write
// goes through.
#ifdef _WIN32
#include <winsock2.h> // before windows.h, which the Qt headers bring
#endif
#include "archive/case_record.h"
#include "service_fixture.h"

#include <QDir>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

namespace {

using Rows = QList<QStringList>;

// A new case inserts its case row and six table rows; a stored one deletes its old payments and
// claims and inserts six table rows.
const 案件行 两笔两项{
    {{"甲公司", "100", "2020-5-10", "首付"}, {"乙", "50.5", "", ""}, {"", "", "", ""}},
    {{"丙", "80", "一般债权", "", "", "备注一"}, {"丁", "120", "抵押", "100", "", ""}, {"", "", "", "", "", ""}}};

案件行 改过的() {
    案件行 rows = 两笔两项;
    rows.交款[0][1] = QStringLiteral("999");
    return rows;
}

// The message of a failure: the sentence for the clerk, the engine's own words on a line of
// their own, the file.
void 核对说明(const QString &text, const QString &sentence, const QString &file) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], sentence);
    QVERIFY2(lines[1].startsWith(QStringLiteral("（")) && lines[1].size() > 2, qPrintable(text));
    QCOMPARE(lines[2], QStringLiteral("文件：") + QDir::toNativeSeparators(file));
}

} // namespace

class TestArchiveFailures : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { busyWait = 数据库设置::忙等待毫秒; }
    void cleanup() {
        数据库设置::语句记录 = nullptr;
        数据库设置::打开方式 = QStringLiteral("rw");
        数据库设置::忙等待毫秒 = busyWait;
        archive.reset();
    }
    void fileFaults_data();
    void fileFaults();
    void writeIsAllOrNothing_data();
    void writeIsAllOrNothing();
    void refusedRowLateInASave_data();
    void refusedRowLateInASave();
    void whereTheFileIs_data();
    void whereTheFileIs();
    void aShortWriteElsewhereIsWaitedFor();

  private:
    QString dbFile() const { return archive->dir.filePath(QStringLiteral("varnel.db")); }
    std::unique_ptr<EngineArchive> archive;
    int busyWait = 0;
};

void TestArchiveFailures::fileFaults_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("message"); // empty: the call works
    // What happened and what to do; %1 is what could not be done.
    const QList<std::pair<const char *, const char *>> kinds{
        {"missing", "找不到案件数据库文件，%1请把它放回原处，或换上备份的案件数据库文件。"},
        {"not a database", "案件数据库文件已损坏或不是数据库文件，%1请换上备份的案件数据库文件。"},
        {"no claims table",
         "案件数据库文件缺少所需的数据表或数据列，%1请换上备份的案件数据库文件。"},
        {"read-only", "案件数据库文件是只读的，%1请检查文件的权限，或把它复制到你能写入的文件夹。"},
        {"locked", "案件数据库正被另一个程序使用，%1请稍后再试。"},
        {"being written", "案件数据库正被另一个程序使用，%1请稍后再试。"},
    };
    for (const auto &[kind, message] : kinds) {
        const QString words = QString::fromUtf8(message);
        for (const char *call : {"save new", "save stored", "delete"})
            QTest::addRow("%s, %s", kind, call)
                << kind << call
                << words.arg(qstrcmp(call, "delete") == 0 ? QStringLiteral("不能删除案件。")
                                                          : QStringLiteral("不能保存。"));
        if (qstrcmp(kind, "read-only") == 0)
            break; // the files that cannot be read
        for (const char *call : {"list", "load"})
            QTest::addRow("%s, %s", kind, call)
                << kind << call
                << (qstrcmp(kind, "no claims table") == 0 && qstrcmp(call, "list") == 0
                        ? QString()
                        : words.arg(QStringLiteral("不能读出案件。")));
    }
}

// A command on a file that cannot be used says why, and no byte of the file changes (nor is a
// file made where one is missing).
void TestArchiveFailures::fileFaults() {
    QFETCH(QString, kind);
    QFETCH(QString, call);
    QFETCH(QString, message);
    OPEN_ARCHIVE(QStringLiteral("sqlite"));
    const std::int32_t id = 存新案(QStringLiteral("甲案"), 两笔两项);
    QVERIFY(id >= 1);
    const Rows before = archive->everything();
    archive->reopen();
    std::unique_ptr<Reader> holder;
    弄坏文件(kind, dbFile(), holder);
    const QByteArray bytes = 文件内容(dbFile());

    const QString error = 错误说明([&] {
        if (call == "save new")
            保存(0, QStringLiteral("乙案"), 两笔两项);
        else if (call == "save stored")
            保存(id, {}, 改过的(), 存后(两笔两项));
        else if (call == "delete")
            删除案件(id, 存后(两笔两项));
        else if (call == "list")
            列出案件();
        else
            读出存储案件(id);
    });
    if (message.isEmpty())
        QCOMPARE(error, QStringLiteral("<none>"));
    else
        核对说明(error, message, dbFile());

    holder.reset();
    数据库设置::打开方式 = QStringLiteral("rw");
    if (kind == "missing" || kind == "not a database") {
        QCOMPARE(文件内容(dbFile()), bytes);
        return;
    }
    Reader db(dbFile());
    if (kind == "no claims table")
        QCOMPARE(db.rows("SELECT * FROM 交款 ORDER BY id").size(), 3);
    else
        QCOMPARE(archive->everything(), before);
    QCOMPARE(db.scalar("PRAGMA integrity_check"), QStringLiteral("ok"));
}

void TestArchiveFailures::writeIsAllOrNothing_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("fault"); // "insert N", "delete TABLE", or "planted"
    QTest::addColumn<QString>("words"); // of the message's first two lines
    const QString full = QStringLiteral("案件数据库出错，不能保存。请再试一次；仍然出错时，请把这段说明"
                                        "告诉管理员。\n（disk is full）");
    for (int k = 1; k <= 7; ++k)
        QTest::addRow("sqlite, new case, insert %d fails", k)
            << "sqlite" << "new" << QStringLiteral("insert %1").arg(k) << full;
    for (const char *table : {"交款", "债权"})
        QTest::addRow("sqlite, stored case, delete of %s fails", table)
            << "sqlite" << "stored" << QStringLiteral("delete %1").arg(QString::fromUtf8(table))
            << full;
    for (int k = 1; k <= 6; ++k)
        QTest::addRow("sqlite, stored case, insert %d fails", k)
            << "sqlite" << "stored" << QStringLiteral("insert %1").arg(k) << full;
    QTest::newRow("sqlite, delete, delete of payments fails")
        << "sqlite" << "delete" << "delete 交款"
        << "案件数据库出错，不能删除案件。请再试一次；仍然出错时，请把这段说明告诉管理员。\n"
           "（disk is full）";
    // The claims are the last statements of a save: failing there, the deletes and the new
    // payments must not stay.
    for (const char *engine : {"sqlite", "pg"})
        QTest::addRow("%s, stored case, claims fail", engine)
            << engine << "stored" << "planted" << "planted";
}

// A statement that fails part-way through a write (standing for a full disk) leaves the archive
// exactly as it was: a stored case keeps all of its old rows, a new case leaves no trace.
void TestArchiveFailures::writeIsAllOrNothing() {
    QFETCH(QString, engine);
    QFETCH(QString, call);
    QFETCH(QString, fault);
    QFETCH(QString, words);
    OPEN_ARCHIVE(engine);
    { // the file gains the record of versions before the triggers count
        std::unique_ptr<数据库连接> first;
        打开数据库(first, 数据库用途::保存);
    }
    const std::int32_t id = call == "new" ? 0 : 存新案(QStringLiteral("甲案"), 两笔两项);
    const int failingInsert = fault.startsWith("insert") ? fault.section(u' ', 1).toInt() : 0;
    const QString failingDelete = fault.startsWith("delete") ? fault.section(u' ', 1) : QString();
    if (fault != "planted") {
        Reader db(dbFile());
        db.rows("CREATE TABLE 计数 (n INTEGER)");
        db.rows("INSERT INTO 计数 VALUES (0)");
        for (const char *table : {"案件", "交款", "债权"})
            if (failingInsert > 0)
                db.rows(QStringLiteral("CREATE TRIGGER 满_%1 BEFORE INSERT ON %1 BEGIN "
                                       "UPDATE 计数 SET n = n + 1; SELECT RAISE(ABORT, 'disk is "
                                       "full') WHERE (SELECT n FROM 计数) >= %2; END")
                            .arg(QString::fromUtf8(table))
                            .arg(failingInsert));
        if (!failingDelete.isEmpty())
            db.rows(QStringLiteral("CREATE TRIGGER 满删 BEFORE DELETE ON %1 BEGIN SELECT "
                                   "RAISE(ABORT, 'disk is full'); END")
                        .arg(failingDelete));
    }
    const Rows before = archive->everything();
    archive->reopen();
    QStringList transaction;
    数据库设置::语句记录 = [&](const QString &sql, bool ends) {
        if (ends)
            transaction << sql;
        if (fault == "planted" && sql.contains(QStringLiteral("insert into 债权")))
            throw VarnelError(QStringLiteral("planted"));
    };
    const auto write = [&] {
        return call == "delete" ? 删除案件(id, 存后(两笔两项))
                                : 保存(id, QStringLiteral("乙案"), 改过的(), 存后(两笔两项));
    };
    const QString error = 错误说明(write);
    数据库设置::语句记录 = nullptr;
    QVERIFY2(error.startsWith(words), qPrintable(error));
    if (!archive->server)
        QCOMPARE(transaction, (QStringList{"BEGIN IMMEDIATE", "ROLLBACK"}));
    QCOMPARE(archive->everything(), before);
    if (fault == "planted")
        QCOMPARE(int(write().结果), int(写入结果::已成));
    else {
        QCOMPARE(archive->rows("SELECT n FROM 计数"), (Rows{{"0"}}));
        // Nothing was left half-open: once the disk has room again, the same write goes through.
        archive->rows("UPDATE 计数 SET n = -1000");
        archive->rows("DROP TRIGGER IF EXISTS 满删");
        archive->reopen();
        QCOMPARE(int(write().结果), int(写入结果::已成));
    }
    if (call != "delete")
        QCOMPARE(archive->rows("SELECT 金额 FROM 交款 ORDER BY id DESC LIMIT 1 OFFSET 2"),
                 (Rows{{"999"}}));
}

// A row refused late in a long save, by an error or by being skipped without one: the save
// fails with a database message and the stored case stays as it was; with the trigger gone,
// the next save works.
void TestArchiveFailures::refusedRowLateInASave_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("refusal"); // what the trigger does to the row
    QTest::addColumn<QString>("sentence");
    for (const char *engine : {"sqlite", "pg"}) {
        QTest::addRow("%s, error", engine) << engine << "error" << "拒绝这一行";
        QTest::addRow("%s, skipped", engine) << engine << "skip" << "没有存下这个案件的全部行";
    }
}

void TestArchiveFailures::refusedRowLateInASave() {
    QFETCH(QString, engine);
    QFETCH(QString, refusal);
    QFETCH(QString, sentence);
    OPEN_ARCHIVE(engine);
    const std::int32_t id = 存新案(QStringLiteral("甲"), 两笔两项);
    const Rows before = archive->everything();
    案件行 rows = 两笔两项; // 600 payments, then the claims: the refused row is the last
    rows.交款.clear();
    for (int r = 1; r <= 600; ++r)
        rows.交款 << QStringList{QString(), QString::number(r), QString(), QString()};
    rows.债权[2][0] = QStringLiteral("拒收");
    const bool error = refusal == QLatin1String("error");
    const QString when = QStringLiteral("NEW.债权人 = '拒收'");
    QStringList make, drop;
    if (archive->server) {
        make << QStringLiteral("CREATE FUNCTION 拒收() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                               "IF %1 THEN %2; END IF; RETURN NEW; END $$")
                    .arg(when, error ? "RAISE EXCEPTION '拒绝这一行'" : "RETURN NULL")
             << QStringLiteral("CREATE TRIGGER 拒收 BEFORE INSERT ON 债权 FOR EACH ROW "
                               "EXECUTE FUNCTION 拒收()");
        drop << QStringLiteral("DROP TRIGGER 拒收 ON 债权") << QStringLiteral("DROP FUNCTION 拒收()");
    } else {
        make << QStringLiteral("CREATE TRIGGER 拒收 BEFORE INSERT ON 债权 WHEN %1 BEGIN "
                               "SELECT RAISE(%2); END")
                    .arg(when, error ? "ABORT, '拒绝这一行'" : "IGNORE");
        drop << QStringLiteral("DROP TRIGGER 拒收");
    }
    for (const QString &sql : make)
        archive->rows(sql);
    archive->reopen();
    const QString told = 错误说明([&] { 保存(id, {}, rows, 存后(两笔两项)); });
    QVERIFY2(told.contains(sentence), qPrintable(told));
    QCOMPARE(archive->everything(), before);
    for (const QString &sql : drop)
        archive->rows(sql);
    archive->reopen();
    QCOMPARE(int(保存(id, {}, rows, 存后(两笔两项)).结果), int(写入结果::已成));
    QCOMPARE(archive->rows("SELECT count(*) FROM 交款"), (Rows{{"600"}}));
    QCOMPARE(archive->rows("SELECT 债权人 FROM 债权 ORDER BY id").value(2), QStringList{"拒收"});
}

void TestArchiveFailures::whereTheFileIs_data() {
    QTest::addColumn<QString>("folder"); // under the test's directory
    QTest::addColumn<QString>("given");  // added to the directory as the program is given it
    // '#', '?' and '%' in a folder name stay part of the path.
#ifdef Q_OS_WIN
    QTest::newRow("URI characters") << "卷#1 a=b %41" << ""; // no '?' in a Windows file name
#else
    QTest::newRow("URI characters") << "卷#1?a=b %41" << "";
#endif
    QTest::newRow("directory given with trailing blanks") << "卷" << "   ";
}

// The database in the program's directory is the one used, and a missing one is reported,
// never made anew somewhere else.
void TestArchiveFailures::whereTheFileIs() {
    QFETCH(QString, folder);
    QFETCH(QString, given);
    OPEN_ARCHIVE(QStringLiteral("sqlite"));
    const QString dir = archive->dir.filePath(folder);
    const QString file = QDir(dir).filePath(QStringLiteral("varnel.db"));
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(QFile::rename(dbFile(), file));
    设应用目录(加尾分隔符(QDir::toNativeSeparators(dir)) + given);
    QVERIFY(存新案(QStringLiteral("甲案"), 两笔两项) >= 1);
    QCOMPARE(Reader(file).scalar("SELECT 名称 FROM 案件"), QStringLiteral("甲案"));

    QVERIFY(QFile::remove(file));
    const QString missing = 错误说明([] { 列出案件(); });
    QVERIFY2(missing.startsWith(QStringLiteral("找不到案件数据库文件，")), qPrintable(missing));
    QVERIFY2(missing.endsWith(QStringLiteral("\n文件：") + QDir::toNativeSeparators(file)),
             qPrintable(missing));
    QCOMPARE(QDir(dir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    QCOMPARE(QDir(archive->dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{folder});
}

// Another copy of the program writing for a moment is waited for: the save then goes through.
void TestArchiveFailures::aShortWriteElsewhereIsWaitedFor() {
    OPEN_ARCHIVE(QStringLiteral("sqlite"));
    std::atomic<bool> holding = false;
    std::thread other([&, file = dbFile()] {
        Reader copy(file, QStringLiteral("other-copy"));
        copy.exec("BEGIN IMMEDIATE");
        holding = true;
        QThread::msleep(300);
        copy.exec("COMMIT");
    });
    while (!holding)
        QThread::msleep(1);
    const QString error = 错误说明([] { 存新案(QStringLiteral("甲案"), 两笔两项); });
    other.join();
    QCOMPARE(error, QStringLiteral("<none>"));
    QCOMPARE(archive->rows("SELECT 名称 FROM 案件"), (Rows{{"甲案"}}));
}

int runArchiveFailureTests(int argc, char **argv) {
    TestArchiveFailures t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_archive_failures.moc"
