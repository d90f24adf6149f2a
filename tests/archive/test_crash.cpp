#include "app/main_window.h"
#include "archive_fixture.h"
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/message_box.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// A save killed at any moment leaves the database whole: the stored case is entirely the one
// from before the save or entirely the new one, never a mixture and never lost.
class TestCrash : public QObject {
    Q_OBJECT
  private slots:
    void killedSaveLeavesOldOrNewCase();
    void killedTypingIsOfferedBack_data();
    void killedTypingIsOfferedBack();

  private:
    QString 内容(const Reader &db, const char *table);
};

namespace {
constexpr int 债权行数 = 10000;

// Starts a saver; returns once it says "ready" (or fails).
bool 启动(QProcess &saver, const QString &dir, const QString &tag) {
    saver.start(QStringLiteral(VARNEL_CRASH_SAVER),
                {dir, tag, QString::number(债权行数)});
    if (!saver.waitForStarted(10000))
        return false;
    while (!saver.canReadLine())
        if (!saver.waitForReadyRead(30000))
            return false;
    return saver.readLine().trimmed() == "ready";
}
} // namespace

// Which save the rows of a table of case 1 come from: the tag when every row is that save's,
// in order and complete; "mixed" otherwise.
QString TestCrash::内容(const Reader &db, const char *table) {
    const auto rows = db.rows(
        QStringLiteral("SELECT %1 FROM %2 WHERE ajid = 1 ORDER BY id")
            .arg(QString::fromUtf8(qstrcmp(table, "交款") == 0 ? "交款人" : "债权人"),
                 QString::fromUtf8(table)));
    if (rows.isEmpty())
        return QStringLiteral("empty");
    const QString tag = rows.first().first().section(QLatin1Char('-'), 0, 0);
    const int expected = qstrcmp(table, "交款") == 0 ? 100 : 债权行数;
    const QString kind = QString::fromUtf8(table);
    if (rows.size() != expected + 1) // the blank bottom row is stored too
        return QStringLiteral("mixed");
    for (int r = 0; r < expected; ++r)
        if (rows[r].first() != tag + QLatin1Char('-') + kind + QLatin1Char('-') + QString::number(r + 1))
            return QStringLiteral("mixed");
    return rows.last().first() == QStringLiteral("<NULL>") ? tag : QStringLiteral("mixed");
}

void TestCrash::killedSaveLeavesOldOrNewCase() {
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("varnel.db"));
    QVERIFY(makeCaseDatabase(file, QStringLiteral("INSERT INTO 案件 (名称) VALUES ('旧案')")));

    // A first save runs to its end and tells how long a save takes.
    QProcess first;
    QVERIFY(启动(first, dir.path(), QStringLiteral("g0")));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(first.waitForFinished(120000));
    const qint64 saveMs = std::max<qint64>(clock.elapsed(), 20);
    QCOMPARE(first.exitCode(), 0);
    QString stored = QStringLiteral("g0");

    int old = 0, fresh = 0;
    for (int round = 1; round <= 20; ++round) {
        const QString tag = QStringLiteral("g%1").arg(round);
        QProcess saver;
        QVERIFY(启动(saver, dir.path(), tag));
        QTest::qSleep(int(QRandomGenerator::global()->bounded(saveMs * 12 / 10)));
        saver.kill(); // SIGKILL, or TerminateProcess on Windows: no chance to clean up
        QVERIFY(saver.waitForFinished(30000));

        Reader db(file);
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(名称) FROM 案件")),
                 QStringLiteral("旧案"));
        const QString payments = 内容(db, "交款");
        const QString claims = 内容(db, "债权");
        QVERIFY2(payments == claims && (claims == stored || claims == tag),
                 qPrintable(QStringLiteral("round %1: payments %2, claims %3, before %4")
                                .arg(round)
                                .arg(payments, claims, stored)));
        (claims == tag ? fresh : old) += 1;
        stored = claims;
    }
    qInfo("killed saves: %d left the case as it was, %d had finished", old, fresh);
}

void TestCrash::killedTypingIsOfferedBack_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("recovered") << true;
    QTest::newRow("let go") << false;
}

// A Varnel killed while the clerk types: the next start asks, and 是 opens the case fund window
// with what was typed; 否 removes the file. While the typist ran, its file was its own.
void TestCrash::killedTypingIsOfferedBack() {
    QFETCH(bool, yes);
    QTemporaryDir dir;
    QProcess typist;
    typist.start(QStringLiteral(VARNEL_RECOVERY_TYPIST), {dir.path()});
    QVERIFY(typist.waitForStarted(10000));
    while (!typist.canReadLine())
        QVERIFY(typist.waitForReadyRead(30000));
    QCOMPARE(typist.readLine().trimmed(), QByteArray("written"));
    QVERIFY(找遗留恢复(dir.path()).isEmpty());
    QTest::qWait(200); // typing on
    typist.kill();
    QVERIFY(typist.waitForFinished(10000));
    QString typed, when;
    {
        const QList<遗留恢复> left = 找遗留恢复(dir.path());
        QCOMPARE(left.size(), 1);
        typed = left[0].内容.表.交款.value(0).value(0);
        when = left[0].内容.时间.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    }
    QVERIFY2(typed.startsWith(QStringLiteral("Zhang San Zh")), qPrintable(typed));

    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path()); // the folder the next Varnel starts in
    QStringList asked;
    消息框::应答器 = [&](消息框::框类, const QString &text, const QString &caption) {
        asked << text << caption;
        return 消息框::框应答{yes, {}};
    };
    Fo工具主页 start;
    start.提供恢复();
    消息框::应答器 = nullptr;
    QDir::setCurrent(before);
    QCOMPARE(asked, (QStringList{QStringLiteral("上次Varnel没有正常关闭，留下了没有保存的案件内容（%1，"
                                                "0行债权）。要恢复吗？")
                                     .arg(when),
                                 "恢复提示"}));
    Fo案款分配计算 *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *found = dynamic_cast<Fo案款分配计算 *>(w); found && found->isVisible())
            window = found;
    QCOMPARE(window != nullptr, yes);
    // The file left behind is gone; the content lives on in this program's own file.
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("varnel-恢复-*.json")});
    QCOMPARE(files.size(), yes ? 1 : 0);
    if (!yes)
        return;
    QVERIFY(files[0].contains(QString::number(QCoreApplication::applicationPid())));
    QCOMPARE(window->MSFjk->TextMatrix(1, 0), typed);
    QVERIFY(window->有未存修改());
    关闭不保存(window);
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("varnel-恢复-*")}), QStringList());
}

int runCrashTests(int argc, char **argv) {
    TestCrash t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_crash.moc"
