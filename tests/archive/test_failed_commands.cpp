// Archive commands that fail part-way, as the case fund window takes them (that a load raises
// rather than giving part of a case, on both engines: test_case_reads.cpp). A load that fails at
// any step leaves the case fund window exactly as it was: the case number, the caption, the tables, the rows
// remembered as loaded and the delete button; a save afterwards touches only the case the window
// held. A save or a delete whose COMMIT got no answer reads the case back and holds what is
// stored, without losing what the clerk typed.
#include "archive/database.h"
#include "archive/sql_text.h"
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/varnel_error.h"
#include "engine_fixture.h"
#include "window_test.h"

#include <QAction>
#include <QPushButton>
#include <QSqlQuery>

#include <algorithm>

namespace {

using Rows = QList<QStringList>;

const Rows 甲交款{{"甲付", "100", "2024-1-2", ""}};
const Rows 甲债权{{"甲一", "60", "一般债权", "", "", ""}, {"甲二", "40", "工资", "", "", ""}};
const Rows 乙交款{{"乙付", "900", "2024-3-4", "乙"}};
const Rows 乙债权{{"乙一", "300", "一般债权", "", "", ""}};

void put(FlexGrid *g, const Rows &rows) {
    g->setRows(2 + int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int k = 0; k < rows[r].size(); ++k)
            g->setTextMatrix(r + 1, k, rows[r][k]);
}

} // namespace

class TestFailedCommands : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        数据库设置::语句记录 = nullptr;
        w.reset();
        archive.reset();
    }
    void failedLoadLeavesTheWindow_data();
    void failedLoadLeavesTheWindow();
    void commitWithoutAnswer_data();
    void commitWithoutAnswer();

  private:
    QStringList run(QAction *action, QMessageBox::StandardButton answer = QMessageBox::Yes,
                    const QString &input = QString()) {
        BoxAnswerer answerer(answer, input);
        action->trigger();
        return answerer.texts;
    }
    // Stores a new case from the given rows and returns its number.
    int store(const QString &name, const Rows &payments, const Rows &claims) {
        w->Com清除->click();
        put(w->MSFjk, payments);
        put(w->MSFzc, claims);
        w->分配计算();
        run(w->存入内容, QMessageBox::Yes, name);
        return w->当前案件号();
    }
    // What the clerk sees of the window and what it remembers of its case.
    QStringList state() {
        return {QString::number(w->当前案件号()), w->windowTitle(),
                QString::number(w->Com删除案件->isVisible()), QString::number(w->有未存修改())};
    }
    bool openEngine(const QString &engine) {
        archive = std::make_unique<EngineArchive>(engine);
        if (archive->server && !TestServer::get().ok)
            return false;
        设应用目录(加尾分隔符(archive->dir.path()));
        w = std::make_unique<Fo案款分配计算>();
        w->show();
        return true;
    }
    std::unique_ptr<EngineArchive> archive;
    std::unique_ptr<Fo案款分配计算> w;
};

void TestFailedCommands::failedLoadLeavesTheWindow_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("step");
    for (const char *step : {"connect", "payments", "claims"})
        QTest::addRow("sqlite, %s", step) << "sqlite" << step;
}

// 甲案 on screen, then a load of 乙案 fails: the window still holds 甲案 whole, unchanged and
// not marked unsaved; the next save overwrites 甲案 without a question and leaves 乙案 alone.
void TestFailedCommands::failedLoadLeavesTheWindow() {
    QFETCH(QString, engine);
    QFETCH(QString, step);
    if (!openEngine(engine))
        QSKIP("no test server (VARNEL_TEST_PG)");
    QVERIFY(archive->ok);
    const int 甲 = store(QStringLiteral("甲案"), 甲交款, 甲债权);
    const int 乙 = store(QStringLiteral("乙案"), 乙交款, 乙债权);
    run(w->读出内容);
    {
        BoxAnswerer guard;
        clickGridCell(w->MSFysj, 1, 1);
    }
    QCOMPARE(w->当前案件号(), 甲);
    const QStringList before = state();
    const Rows payments = gridRows(w->MSFjk), claims = gridRows(w->MSFzc);
    const Rows stored = archive->everything();

    run(w->读出内容); // the list is shown; then the archive fails
    const QString failure = QStringLiteral("读到一半出错了");
    const QString file = archive->dir.filePath(QStringLiteral("varnel.db"));
    if (step == QLatin1String("connect")) {
        if (archive->server)
            QVERIFY(archive->writeIni(TestServer::get().clerk().replace(
                QStringLiteral("port=") + TestServer::get().port, QStringLiteral("port=1"))));
        else {
            archive->reopen(); // Windows renames no file a connection holds open
            QVERIFY(QFile::rename(file, file + QStringLiteral(".away")));
        }
    } else {
        const QString sql = step == QLatin1String("payments") ? 案件语句::读交款(乙) : 案件语句::读债权(乙);
        数据库设置::语句记录 = [=](const QString &text, bool) {
            if (text == sql)
                throw VarnelError(failure);
        };
    }
    QStringList boxes;
    {
        BoxAnswerer answerer;
        clickGridCell(w->MSFysj, 2, 1);
        boxes = answerer.texts;
    }
    QCOMPARE(boxes.size(), 1);
    if (step != QLatin1String("connect"))
        QCOMPARE(boxes.first(), failure);
    QCOMPARE(state(), before);
    QCOMPARE(gridRows(w->MSFjk), payments);
    QCOMPARE(gridRows(w->MSFzc), claims);

    // The archive is back: the save asks only the overwrite question and stores 甲案's rows.
    数据库设置::语句记录 = nullptr;
    if (archive->server)
        QVERIFY(archive->writeIni(TestServer::get().clerk()));
    else if (step == QLatin1String("connect"))
        QVERIFY(QFile::rename(file + QStringLiteral(".away"), file));
    w->MSFzc->setTextMatrix(1, 1, QStringLiteral("61"));
    QCOMPARE(run(w->存入内容).value(0).left(10), QStringLiteral("你将保存内容，会覆盖"));
    Rows expected = stored;
    for (QStringList &row : expected)
        if (row.value(1) == QStringLiteral("甲案") && row.value(2) == QStringLiteral("甲一"))
            row[3] = QStringLiteral("61");
    archive->reopen();
    QCOMPARE(archive->everything(), expected);
}

void TestFailedCommands::commitWithoutAnswer_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("kept");
    for (const char *command : {"overwrite", "new", "delete"})
        for (const bool kept : {true, false})
            QTest::addRow("sqlite, %s, %s", command, kept ? "kept" : "not kept")
                << "sqlite" << command << kept;
}

// The COMMIT of a save or a delete goes out and no answer comes back; the server kept the change
// (kept) or not. The window says so, and holds what is stored: a kept change as done; a change
// not kept leaves the clerk's rows on screen, unsaved, and the next save asks nothing more than
// a save of that case asks.
void TestFailedCommands::commitWithoutAnswer() {
    QFETCH(QString, engine);
    QFETCH(QString, command);
    QFETCH(bool, kept);
    if (!openEngine(engine))
        QSKIP("no test server (VARNEL_TEST_PG)");
    QVERIFY(archive->ok);
    const int 甲 = store(QStringLiteral("甲案"), 甲交款, 甲债权);
    const Rows stored = archive->everything();
    数据库设置::语句记录 = [kept](const QString &sql, bool) {
        if (sql != QLatin1String("COMMIT"))
            return;
        数据库设置::语句记录 = nullptr; // once
        if (kept) {
            QStringList names = QSqlDatabase::connectionNames().filter("varnel-case-db-");
            std::sort(names.begin(), names.end());
            QSqlQuery(QSqlDatabase::database(names.last())).exec(QStringLiteral("COMMIT"));
        }
        throw 提交结果不明(QStringLiteral("server closed the connection unexpectedly"));
    };
    const QString unknown = QStringLiteral("不能确定服务器是否已保存。已重新读出服务器上的案件内容，请核对。");
    QString name = QStringLiteral("甲案");
    if (command == QLatin1String("delete")) {
        BoxAnswerer answerer(QMessageBox::Yes);
        w->Com删除案件->click();
        QCOMPARE(answerer.texts.value(1), unknown);
        QCOMPARE(w->当前案件号(), kept ? 0 : 甲);
        QCOMPARE(archive->everything().isEmpty(), kept);
        return;
    }
    if (command == QLatin1String("new")) {
        w->Com清除->click();
        put(w->MSFjk, 乙交款);
        put(w->MSFzc, 乙债权);
        name = QStringLiteral("乙案");
    } else {
        w->MSFzc->setTextMatrix(1, 1, QStringLiteral("61"));
    }
    w->分配计算();
    const Rows payments = gridRows(w->MSFjk), claims = gridRows(w->MSFzc);
    QCOMPARE(run(w->存入内容, QMessageBox::Yes, name).value(1), unknown);
    QCOMPARE(gridRows(w->MSFjk), payments);
    QCOMPARE(gridRows(w->MSFzc), claims);
    QCOMPARE(w->有未存修改(), !kept);
    const bool named = kept || command == QLatin1String("overwrite");
    QCOMPARE(w->windowTitle(), QStringLiteral("案款分配计算") +
                                   (named ? QStringLiteral(" — ") + name : QString()) +
                                   (kept ? QString() : QStringLiteral("（未保存）")));
    QCOMPARE(archive->everything() == stored, !kept);
    if (!kept)
        QCOMPARE(run(w->存入内容, QMessageBox::Yes, name).last(), QStringLiteral("保存成功！"));
    QVERIFY(!w->有未存修改());
}

int runFailedCommandTests(int argc, char **argv) {
    TestFailedCommands t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_failed_commands.moc"
