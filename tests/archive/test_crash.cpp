#include "app/main_window.h"
#include "archive_fixture.h"
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/message_box.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

// A save killed at any moment leaves the database whole: the stored case is entirely the one
// from before the save or entirely the new one, never a mixture and never lost.
class TestCrash : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void killedSaveLeavesOldOrNewCase();
    void killedTypingIsOfferedBack_data();
    void killedTypingIsOfferedBack();
    void staleLocksOnly_data();
    void staleLocksOnly();
    void recoveredUnderItsArchive_data();
    void recoveredUnderItsArchive();
    void takenFileKeptUntilWritten_data();
    void takenFileKeptUntilWritten();
    void recoveryIntervalIsTheProgramsOwn();

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

namespace {
const QString 遗留名 = QStringLiteral("varnel-恢复-4194305-1.json");

恢复内容 遗留内容(std::int32_t id, const QString &name, const QString &archive) {
    const 案件行 stored{{{"张三", "100", "2026/12/1", ""}}, {}};
    const 案件行 typed{stored.交款,
                       {{"李四", "80", "", "", "", ""}, {"王五", "20", "", "", "", ""}}};
    return {typed, id, name, id ? stored : 案件行{}, QDateTime({2026, 12, 8}, {10, 0}), archive};
}

// A recovery file as a Varnel left it; its lock, when there is text for one, `days` old.
QString 放遗留文件(const QString &dir, const 恢复内容 &content, const QByteArray *lock = nullptr,
                   int days = 0) {
    const QString path = QDir(dir).filePath(遗留名);
    QFile json(path);
    if (!json.open(QIODevice::WriteOnly) || json.write(恢复文本(content)) < 0)
        return {};
    json.close();
    if (lock) {
        QFile file(path.chopped(4) + QStringLiteral("lock"));
        if (!file.open(QIODevice::WriteOnly) || file.write(*lock) < 0 || !file.flush() ||
            !file.setFileTime(QDateTime::currentDateTime().addDays(-days),
                              QFileDevice::FileModificationTime))
            return {};
    }
    return path;
}

// The lines QLockFile writes for this program on this machine (its pid, name, machine name and
// ids), read off a lock of the test's own.
QList<QByteArray> 本程序锁行() {
    QTemporaryDir dir;
    QLockFile probe(dir.filePath(QStringLiteral("probe.lock")));
    QFile file(dir.filePath(QStringLiteral("probe.lock")));
    if (!probe.tryLock(0) || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().split('\n');
}

// A lock file held as its running program holds it: QLockFile's native lock on it (flock here,
// a handle that lets others only read on Windows), whatever the file says.
class 占用 {
  public:
    explicit 占用(const QString &path) {
#ifdef Q_OS_WIN
        h = ::CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                          GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
#else
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
            fd = (::close(fd), -1);
#endif
    }
    ~占用() {
#ifdef Q_OS_WIN
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
#else
        if (fd >= 0)
            ::close(fd);
#endif
    }
    占用(const 占用 &) = delete;
    占用 &operator=(const 占用 &) = delete;
    bool 成() const {
#ifdef Q_OS_WIN
        return h != INVALID_HANDLE_VALUE;
#else
        return fd >= 0;
#endif
    }

  private:
#ifdef Q_OS_WIN
    HANDLE h = INVALID_HANDLE_VALUE;
#else
    int fd = -1;
#endif
};

// Starts the next Varnel in `dir` and answers its boxes with `yes`; returns what they said and
// their titles, in turn, and the case fund window it opened, if any.
QStringList 启动后(const QString &dir, bool yes, Fo案款分配计算 **opened) {
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir);
    QStringList said;
    消息框::应答器 = [&](消息框::框类, const QString &text, const QString &caption) {
        said << text << caption;
        return 消息框::框应答{yes, {}};
    };
    Fo工具主页 start;
    start.提供恢复();
    消息框::应答器 = nullptr;
    QDir::setCurrent(before);
    *opened = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *found = dynamic_cast<Fo案款分配计算 *>(w); found && found->isVisible())
            *opened = found;
    return said;
}

// A key typed into the payments table; the recovery timer it starts is handed back.
QTimer *打一个字(Fo案款分配计算 &window) {
    window.MSFjk->单击格(1, 0);
    QTest::keyClick(window.tEXTAK, Qt::Key_X);
    return window.findChild<QTimer *>(QStringLiteral("恢复计时"));
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

// A test that failed part-way leaves no case fund window open for the next one to find.
void TestCrash::cleanup() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *window = dynamic_cast<Fo案款分配计算 *>(w); window && window->isVisible())
            关闭不保存(window);
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

    Fo案款分配计算 *window = nullptr;
    QCOMPARE(启动后(dir.path(), yes, &window),
             (QStringList{QStringLiteral("上次Varnel没有正常关闭，留下了没有保存的案件内容（"
                                         "未命名的案件，%1，0行债权）。要恢复吗？")
                              .arg(when),
                          "恢复提示"}));
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

void TestCrash::staleLocksOnly_data() {
    QTest::addColumn<QByteArray>("lock"); // "held": taken by a running program here
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("unlike"); // how else the file differs from a clerk's own
    QTest::addColumn<bool>("offered");
    QTest::addColumn<bool>("lockKept");
    const QList<QByteArray> ours = 本程序锁行();
    const QByteArray gone = "4194305\nvarnel\n" + ours.value(2) + "\n",
                     away = "4194305\nvarnel\nother-pc\n";
    QTest::newRow("empty lock") << QByteArray() << 0 << "" << true << false;
    QTest::newRow("process gone, this host") << gone << 0 << "" << true << false;
    QTest::newRow("running program, two days old")
        << "held" + ours.join('\n') << 2 << "" << false << true;
    QTest::newRow("another host, an hour") << away << 0 << "" << false << true;
    QTest::newRow("another host, two days") << away << 2 << "" << true << false;
    QTest::newRow("another host, two days, held") << "held" + away << 2 << "" << false << true;
    QTest::newRow("another user's file") << QByteArray() << 0 << "nobody" << false << true;
    QTest::newRow("lock without its file") << gone << 0 << "no file" << false << false;
}

// A left-over file is offered when its lock is stale, and otherwise neither offered nor removed.
void TestCrash::staleLocksOnly() {
    QFETCH(QByteArray, lock);
    QFETCH(int, days);
    QFETCH(QString, unlike);
    QFETCH(bool, offered);
    QFETCH(bool, lockKept);
    QTemporaryDir dir;
    const bool held = lock.startsWith("held");
    const QByteArray text = held ? lock.mid(4) : lock;
    const QString path = 放遗留文件(dir.path(), 遗留内容(0, {}, {}), &text, days);
    QVERIFY(!path.isEmpty());
    const QString lockPath = path.chopped(4) + QStringLiteral("lock");
    std::optional<占用> running;
    if (held)
        QVERIFY(running.emplace(lockPath).成());
    if (unlike == QStringLiteral("no file"))
        QVERIFY(QFile::remove(path));
    if (unlike == QStringLiteral("nobody")) {
#ifdef Q_OS_UNIX
        const passwd *nobody = ::getpwnam("nobody");
        if (::getuid() != 0 || !nobody)
            QSKIP("giving a file to another user needs root and the user nobody");
        QCOMPARE(::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid), 0);
#else
        QSKIP("the application directory is the clerk's own");
#endif
    }
    QCOMPARE(找遗留恢复(dir.path()).size(), offered ? 1 : 0);
    QCOMPARE(QFile::exists(path), unlike != QStringLiteral("no file"));
    QCOMPARE(QFile::exists(lockPath), lockKept); // a taken stale lock was let go
}

void TestCrash::recoveredUnderItsArchive_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("archive"); // "here": varnel.db of the folder Varnel starts in
    QTest::addColumn<int>("takenAs");
    QTest::addColumn<QString>("asked");
    const QString 甲案 = QStringLiteral("案件“甲案”");
    QTest::newRow("this varnel.db") << 5 << "甲案"
                                    << "here" << 5 << 甲案;
    QTest::newRow("another varnel.db") << 5 << "甲案"
                                       << "/elsewhere/varnel.db" << 0 << 甲案;
    QTest::newRow("a server") << 5 << "甲案"
                              << "host=db.court.local dbname=varnel" << 0 << 甲案;
    QTest::newRow("no archive named") << 5 << "甲案"
                                      << "" << 0 << 甲案;
    QTest::newRow("unnamed case") << 0 << ""
                                  << "here" << 0 << "未命名的案件";
}

// Content comes back as the stored case it was typed into only under that case's archive; the
// question names the case.
void TestCrash::recoveredUnderItsArchive() {
    QFETCH(int, id);
    QFETCH(QString, name);
    QFETCH(QString, archive);
    QFETCH(int, takenAs);
    QFETCH(QString, asked);
    QTemporaryDir dir;
    if (archive == QStringLiteral("here"))
        archive = QDir(dir.path()).filePath(QStringLiteral("varnel.db"));
    const 恢复内容 left = 遗留内容(id, name, archive);
    QVERIFY(!放遗留文件(dir.path(), left).isEmpty());
    Fo案款分配计算 *window = nullptr;
    const QStringList said = 启动后(dir.path(), true, &window);
    const QString question = "上次Varnel没有正常关闭，留下了没有保存的案件内容（" + asked +
                             "，2026-12-08 10:00，2行债权）。要恢复吗？";
    QCOMPARE(said, (QStringList{question, "恢复提示"}));
    QVERIFY(window);
    const 恢复内容 taken = window->当前恢复内容();
    QCOMPARE(taken.案件号, takenAs);
    QCOMPARE(taken.案件名称, takenAs ? name : QString());
    QCOMPARE(taken.读出时行, takenAs ? left.读出时行 : 案件行{});
    QCOMPARE(taken.表.债权.value(1).value(0), QStringLiteral("王五"));
    QVERIFY(window->有未存修改());
    关闭不保存(window);
}

void TestCrash::takenFileKeptUntilWritten_data() {
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("room") << false;
    QTest::newRow("disk full") << true;
}

// 是 to the question removes the left-over file only once the window's own file holds its
// content: on a full disk it stays, and goes with the first write that succeeds.
void TestCrash::takenFileKeptUntilWritten() {
    QFETCH(bool, diskFull);
    QTemporaryDir dir;
    const QString mount = dir.path();
    if (QProcess::execute(QStringLiteral("mount"),
                          {"-t", "tmpfs", "-o", "size=256k", "tmpfs", mount}) != 0)
        QSKIP("a small file system of the test's own needs root");
    struct 卸下 {
        QString path;
        ~卸下() {
            本程序恢复文件::实例().删();
            QProcess::execute(QStringLiteral("umount"), {"-l", path});
        }
    } unmount{mount};
    const QString path = 放遗留文件(mount, 遗留内容(0, {}, {}));
    QVERIFY(!path.isEmpty());
    QFile filler(QDir(mount).filePath(QStringLiteral("filler")));
    if (diskFull) {
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) == 4096) {
        }
        const qint64 pages = (filler.size() + 4095) / 4096;
        QVERIFY(filler.resize((pages - 2) * 4096)); // room for two locks, none for the file
    }
    QFile old(path);
    QVERIFY(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    Fo案款分配计算 *window = nullptr;
    const QStringList said = 启动后(mount, true, &window);
    QVERIFY(window);
    QCOMPARE(said.size(), diskFull ? 4 : 2);
    if (diskFull) {
        QVERIFY2(said[2].startsWith(QStringLiteral("不能")), qPrintable(said[2]));
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), before);
        QVERIFY(filler.remove());
        BoxAnswerer unexpected;
        QTimer *timer = 打一个字(*window);
        QVERIFY(timer && timer->isActive());
        timer->start(0);
        QTRY_VERIFY(!QFile::exists(path));
    }
    QVERIFY(!QFile::exists(path));
    QFile own(本程序恢复文件::实例().路径());
    QVERIFY(own.open(QIODevice::ReadOnly));
    QCOMPARE(读恢复文本(own.readAll()).value_or(恢复内容{}).表.债权.value(1).value(0), "王五");
    own.close();
    关闭不保存(window);
}

// The window's own interval: a keystroke is in the recovery file within 10 s, a file of the
// clerk's own.
void TestCrash::recoveryIntervalIsTheProgramsOwn() {
    QTemporaryDir dir;
    设应用目录(加尾分隔符(dir.path()));
    auto *window = new Fo案款分配计算;
    window->show();
    QTimer *timer = 打一个字(*window);
    QVERIFY(timer && timer->isActive());
    QVERIFY2(timer->interval() <= 10000, qPrintable(QString::number(timer->interval())));
    timer->start(0);
    const QDir folder(dir.path());
    QTRY_COMPARE(folder.entryList({QStringLiteral("varnel-恢复-*.json")}).size(), 1);
    const QString file = 本程序恢复文件::实例().路径();
#ifdef Q_OS_UNIX
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther |
                        QFileDevice::WriteOther;
    for (const QString &f : {file, file.chopped(4) + QStringLiteral("lock")})
        QVERIFY2(!(QFile::permissions(f) & others), qPrintable(f));
#endif
    关闭不保存(window);
}

int runCrashTests(int argc, char **argv) {
    TestCrash t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_crash.moc"
