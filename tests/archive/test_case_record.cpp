// The record of versions as the windows that restore a version or a deleted case show it (what
// the record keeps, on both engines: test_case_reads.cpp); and the clerk's rights on the
// server's record.
#include "archive/database.h"
#include "casefund/version_windows.h"
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/varnel_error.h"
#include "engine_fixture.h"
#include "window_test.h"

#include <QAction>
#include <QDate>
#include <QPushButton>

namespace {

using Rows = QList<QStringList>;

const Rows 交款{{"O'Brien", "100", "2020-5-10", "首付"}, {"", "", "", ""}};
const Rows 债权{{"丙'; --", "80", "一般债权", "", "", "x"}, {"丁", "20", "工资", "", "", ""}};

void put(FlexGrid *g, const Rows &rows) {
    g->setRows(1 + int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int k = 0; k < rows[r].size(); ++k)
            g->setTextMatrix(r + 1, k, rows[r][k]);
}

// The kept rows, as stored texts without the distributed amounts the window works out.
Rows 无分配(Rows rows) {
    for (QStringList &row : rows)
        row.removeAt(4);
    return rows;
}

} // namespace

class TestCaseRecord : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        数据库设置::语句记录 = nullptr;
        w.reset();
        archive.reset();
    }
    void versionsShownAndRestored();
    void clerksOnlyReadTheRecord_data();
    void clerksOnlyReadTheRecord();

  private:
    QStringList run(QAction *action, QMessageBox::StandardButton answer = QMessageBox::Yes,
                    const QString &input = QString()) {
        BoxAnswerer answerer(answer, input);
        action->trigger();
        return answerer.texts;
    }
    QStringList click(QPushButton *button) {
        BoxAnswerer answerer(QMessageBox::Yes);
        button->click();
        return answerer.texts;
    }
    std::unique_ptr<EngineArchive> archive;
    std::unique_ptr<Fo案款分配计算> w;
};

void TestCaseRecord::versionsShownAndRestored() {
    archive = std::make_unique<EngineArchive>(QStringLiteral("sqlite"));
    QVERIFY(archive->ok);
    设应用目录(加尾分隔符(archive->dir.path()));
    w = std::make_unique<Fo案款分配计算>();
    w->show();
    put(w->MSFjk, 交款);
    put(w->MSFzc, 债权);
    run(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    w->MSFzc->setTextMatrix(1, 1, QStringLiteral("90"));
    run(w->存入内容); // overwrite: the rows of 80 are kept

    // The version in its window, and put back into the case fund window.
    w->历史版本->trigger();
    auto *versions = w->findChild<Fo历史版本 *>(QStringLiteral("Fo历史版本"));
    QVERIFY(versions);
    const QString clerk = archive->rows("SELECT 办案人员 FROM 案件版本").value(0).value(0);
    QVERIFY(!clerk.isEmpty());
    // Each row is one stored state, newest first: what is stored now, saved by the overwrite;
    // then the first save's rows, whose time the record does not hold. Blank rows do not count.
    const Rows states = gridRows(versions->MSF版本);
    QCOMPARE(states.size(), 2);
    QCOMPARE(states[0].mid(1), (QStringList{clerk, "当前", "1", "2", "110"}));
    QVERIFY2(states[0][0].startsWith(QDate::currentDate().toString(Qt::ISODate)),
             qPrintable(states[0][0]));
    QCOMPARE(states[1], (QStringList{"", "", "保存", "1", "2", "100"}));
    QCOMPARE(w->MSFzc->TextMatrix(1, 1), QStringLiteral("90"));
    QCOMPARE(versions->MSF版本债权->TextMatrix(1, 1), QStringLiteral("90"));
    // A read that fails shows no rows and nothing to restore; a read that works shows them.
    数据库设置::语句记录 = [](const QString &sql, bool) {
        if (sql.contains(QStringLiteral("FROM 债权版本 WHERE 版本 =")))
            throw VarnelError(QStringLiteral("读不出"));
    };
    {
        BoxAnswerer answerer;
        clickGridCell(versions->MSF版本, 2, 0);
        QCOMPARE(answerer.texts, QStringList{"读不出"});
    }
    数据库设置::语句记录 = nullptr;
    QCOMPARE(versions->MSF版本债权->Rows(), 1);
    QVERIFY(!versions->Com恢复版本->isEnabled());
    clickGridCell(versions->MSF版本, 1, 0);
    clickGridCell(versions->MSF版本, 2, 0);
    QCOMPARE(无分配(gridRows(versions->MSF版本债权)), 无分配(债权));
    QCOMPARE(gridRows(versions->MSF版本交款), (Rows{交款[0], {"", "", "", ""}}));
    versions->Com恢复版本->click();
    QCOMPARE(w->MSFzc->TextMatrix(1, 1), QStringLiteral("80"));
    QVERIFY(w->有未存修改());
    run(w->存入内容);
    QCOMPARE(click(w->Com删除案件),
             (QStringList{"你要删除这个已保存的数据，删除后可以在“已删除的案件”中恢复。"
                          "确实要删除点“是”，取消删除点“否”。",
                          "删除成功！"}));

    // The deleted case comes back under its name, or beside a case of that name.
    put(w->MSFjk, 交款);
    put(w->MSFzc, 债权);
    run(w->存入内容, QMessageBox::Yes, QStringLiteral("甲"));
    w->已删除的案件->trigger();
    for (const char *restored : {"甲 (恢复)", "甲 (恢复2)"}) {
        auto *deleted = w->findChild<Fo已删除案件 *>(QStringLiteral("Fo已删除案件"));
        QVERIFY(deleted);
        QCOMPARE(deleted->MSF已删除->TextMatrix(1, 1), QStringLiteral("甲"));
        QCOMPARE(click(deleted->Com恢复案件),
                 QStringList{QStringLiteral("案件已恢复：") + QString::fromUtf8(restored)});
        QCOMPARE(w->windowTitle(), QStringLiteral("案款分配计算 — ") + QString::fromUtf8(restored));
        QCOMPARE(w->MSFzc->TextMatrix(1, 1), QStringLiteral("80"));
        QVERIFY(!w->有未存修改());
        w->已删除的案件->trigger();
    }
}

void TestCaseRecord::clerksOnlyReadTheRecord_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("select") << "SELECT count(*) FROM 案件版本, 交款版本, 债权版本" << true;
    QTest::newRow("update") << "UPDATE 案件版本 SET 办案人员 = 'x'" << false;
    QTest::newRow("delete") << "DELETE FROM 债权版本" << false;
    QTest::newRow("truncate") << "TRUNCATE 交款版本" << false;
    QTest::newRow("insert") << "INSERT INTO 案件版本 (ajid, 操作) VALUES (1, '保存')" << false;
    QTest::newRow("function") << "SELECT 版本开始(ARRAY[1])" << false;
    QTest::newRow("trigger off") << "ALTER TABLE 交款 DISABLE TRIGGER 记下交款" << false;
}

// As a clerk, through psql: the record can be read and nothing more.
void TestCaseRecord::clerksOnlyReadTheRecord() {
    QFETCH(QString, sql);
    QFETCH(bool, allowed);
    archive = std::make_unique<EngineArchive>(QStringLiteral("pg"));
    if (!TestServer::get().ok)
        QSKIP("no test server (VARNEL_TEST_PG)");
    QCOMPARE(TestServer::get().run(QStringLiteral("psql"),
                                   {"-X", "-v", "ON_ERROR_STOP=1", "-d", "varnel_test", "-U",
                                    "clerk_a", "-c", sql}),
             allowed);
}

int runCaseRecordTests(int argc, char **argv) {
    TestCaseRecord t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_case_record.moc"
