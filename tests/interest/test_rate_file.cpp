#include "common/app_dir.h"
#include "common/varnel_error.h"
#include "interest/rate_table.h"
#include "settings_dir.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Writes 利率表.csv into the tests' own settings folder, where varnel.ini is looked for.
QString 写利率文件(const QByteArray &content) {
    const QString path = 测试设置文件夹() + QStringLiteral("/利率表.csv");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write the rate file");
    return path;
}

} // namespace

class TestRateFile : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { QFile::remove(测试设置文件夹() + QStringLiteral("/利率表.csv")); }
    void refused_data();
    void refused();
    void added();
    void applicationDirectoryFirst();
};

void TestRateFile::refused_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("line");
    QTest::newRow("unknown kind") << QByteArray("2025-06-20,LPR1Y,3\n2025-06-20,LPR9Y,3\n")
                                  << "第 2 行";
    QTest::newRow("two fields after the heading")
        << QByteArray("日期,种类,年利率\n2025-06-20,LPR1Y\n") << "第 2 行";
    QTest::newRow("four fields") << QByteArray("2025-06-20,LPR1Y,3,4\n") << "第 1 行";
    QTest::newRow("no date") << QByteArray("2025-13-40,LPR1Y,3\n") << "第 1 行";
    QTest::newRow("rate no number") << QByteArray("2025-06-20,LPR1Y,三\n") << "第 1 行";
    QTest::newRow("rate 0") << QByteArray("2025-06-20,LPR1Y,0\n") << "第 1 行";
    QTest::newRow("rate 100") << QByteArray("2025-06-20,LPR1Y,100\n") << "第 1 行";
    // A blank line counts as a line.
    QTest::newRow("benchmark after 2019-08-19")
        << QByteArray("\n2019-08-20,BASE1Y,4.35\n") << "第 2 行";
    QTest::newRow("LPR before 2019-08-20") << QByteArray("2019-08-19,LPR1Y,4.31\n") << "第 1 行";
    QTest::newRow("written twice")
        << QByteArray("2025-06-20,LPR1Y,3\r\n2025-06-20,LPR1Y,2.9\r\n") << "第 2 行";
    QTest::newRow("not UTF-8") << QByteArray("2025-06-20,LPR1Y,3\n2025-06-20,\xB4\xFB,3\n")
                               << "第 2 行";
    // The heading is a heading only on the first line.
    QTest::newRow("heading later")
        << QByteArray("2025-06-20,LPR1Y,3\n日期,种类,年利率\n") << "第 2 行";
}

// The good lines before a bad one are not taken either: the table stays the shipped one.
void TestRateFile::refused() {
    QFETCH(QByteArray, content);
    QFETCH(QString, line);
    写利率文件(content);
    try {
        当前利率表();
        QFAIL("the file was read");
    } catch (const VarnelError &e) {
        QVERIFY2(e.description().contains(line), qPrintable(e.description()));
    }
}

// A heading, CR LF line ends and a blank line are allowed; each row takes effect on its date.
void TestRateFile::added() {
    写利率文件(
        "\xEF\xBB\xBF日期,种类,年利率\r\n2026-01-20,LPR1Y,2.9\r\n\r\n2026-01-20,LPR5Y,3.4\r\n");
    const 利率表 table = 当前利率表();
    QCOMPARE(table.截至(), QDate(2026, 1, 20));
    QCOMPARE(table.当日(利率种类::LPR1Y, QDate(2026, 1, 19))->年利率, *读分数(QStringLiteral("3")));
    QCOMPARE(table.当日(利率种类::LPR1Y, QDate(2026, 1, 20))->年利率,
             *读分数(QStringLiteral("2.9")));
    QCOMPARE(table.当日(利率种类::LPR5Y, QDate(2026, 2, 1))->年利率,
             *读分数(QStringLiteral("3.4")));
}

// As with varnel.ini, the application directory's file counts before the system folder's.
void TestRateFile::applicationDirectoryFirst() {
    写利率文件("2026-01-20,LPR1Y,2.9\n");
    QTemporaryDir appDir;
    QFile local(appDir.filePath(QStringLiteral("利率表.csv")));
    QVERIFY(local.open(QIODevice::WriteOnly) && local.write("2026-03-20,LPR1Y,2.8\n") > 0);
    local.close();
    const QString before = 应用目录();
    设应用目录(appDir.path());
    const QDate latest = 当前利率表().截至();
    设应用目录(before);
    QCOMPARE(latest, QDate(2026, 3, 20));
}

int runRateFileTests(int argc, char **argv) {
    TestRateFile t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_rate_file.moc"
