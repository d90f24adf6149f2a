// The archive's writes called as the import tool or any window would call them, without a
// window, on both engines: every outcome of a save and of a delete, and that an outcome other
// than 已成 leaves the archive exactly as it was.
#include "archive/case_archive.h"
#include "common/app_dir.h"
#include "engine_fixture.h"

#include <QTest>

namespace {

using Rows = QList<QStringList>;

const 案件行 原行{{{"甲付", "100", "2024-01-02", "  "}}, {{"乙", "80", "一般债权", "", "", "x"}}};
const 案件行 新行{{{"O'Brien", "200", "", "a;b -- c"}}, {{"丙", "50", "", "", "", ""}}};
const 案件行 别人的行{{{"别人改的", "1", "", ""}}, {}};

// As a save stores them: cleaned cells, blanks alone empty.
案件行 存后(const 案件行 &rows) {
    return {存后行(rows.交款, 交款列数), 存后行(rows.债权, 债权列数)};
}

写入结局 保存(std::int32_t id, const QString &name, const 案件行 &rows, const 案件行 &basis) {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection, 数据库用途::保存);
    return 保存案件(*connection, id, name, rows, basis);
}

} // namespace

class TestCaseArchive : public QObject {
    Q_OBJECT
  private slots:
    void outcomes_data();
    void outcomes();
};

// Before the call, case "Case A" is stored with 原行. `before`: what another clerk did since
// ("changed": saved 别人的行 over it; "deleted": deleted it). `call`: a save of the stored case
// with 新行 over 原行, a save of a new case under `name`, or a delete of the stored case.
void TestCaseArchive::outcomes_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("outcome");
    for (const char *engine : {"sqlite", "pg"}) {
        auto row = [engine](const char *tag) -> QTestData & {
            return QTest::addRow("%s %s", engine, tag) << QString::fromLatin1(engine);
        };
        row("new case") << "" << "save" << "乙" << int(写入结果::已成);
        row("name taken") << "" << "save" << "Case A" << int(写入结果::名称重复);
        row("name taken, other letter case") << "" << "save" << "case a" << int(写入结果::名称重复);
        row("stored case") << "" << "save" << "" << int(写入结果::已成);
        row("changed since") << "changed" << "save" << "" << int(写入结果::已变);
        row("deleted since") << "deleted" << "save" << "" << int(写入结果::已删除);
        row("delete") << "" << "delete" << "" << int(写入结果::已成);
        row("delete, changed since") << "changed" << "delete" << "" << int(写入结果::已变);
        row("delete, deleted since") << "deleted" << "delete" << "" << int(写入结果::已删除);
    }
}

void TestCaseArchive::outcomes() {
    QFETCH(QString, engine);
    QFETCH(QString, before);
    QFETCH(QString, call);
    QFETCH(QString, name);
    QFETCH(int, outcome);
    EngineArchive archive(engine);
    if (archive.server && !TestServer::get().ok)
        QSKIP("no test server (VARNEL_TEST_PG)");
    QVERIFY(archive.ok);
    设应用目录(加尾分隔符(archive.dir.path()));

    const 写入结局 first = 保存(0, QStringLiteral("Case A"), 原行, {});
    QCOMPARE(int(first.结果), int(写入结果::已成));
    QVERIFY(first.案件号 >= 1);
    QCOMPARE(first.行, 存后(原行));
    if (before == QLatin1String("changed"))
        QCOMPARE(int(保存(first.案件号, {}, 别人的行, first.行).结果), int(写入结果::已成));
    if (before == QLatin1String("deleted"))
        QCOMPARE(int(删除案件(first.案件号, first.行).结果), int(写入结果::已成));
    const Rows was = archive.everything();

    const bool isNew = call == QLatin1String("save") && !name.isEmpty();
    const 写入结局 result = call == QLatin1String("delete")
                                ? 删除案件(first.案件号, first.行)
                                : 保存(isNew ? 0 : first.案件号, name, 新行, first.行);
    QCOMPARE(int(result.结果), outcome);
    if (result.结果 != 写入结果::已成) {
        QCOMPARE(archive.everything(), was);
        // Changed since: the rows stored now come back, for the next attempt to compare with.
        QCOMPARE(result.行, result.结果 == 写入结果::已变 ? 存后(别人的行) : 案件行{});
        return;
    }
    if (call == QLatin1String("delete")) {
        QCOMPARE(archive.rows("SELECT COUNT(*) FROM 案件"), (Rows{{"0"}}));
        QCOMPARE(archive.rows("SELECT COUNT(*) FROM 交款").value(0).value(0), QStringLiteral("0"));
        return;
    }
    // Saved: the number of the case, and the rows a load reads back now.
    QCOMPARE(result.行, 存后(新行));
    QCOMPARE(result.案件号 == first.案件号, !isNew);
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection);
    QCOMPARE(读案件行(*connection, result.案件号), 存后(新行));
    if (isNew)
        QCOMPARE(读案件行(*connection, first.案件号), 存后(原行));
}

int runCaseArchiveTests(int argc, char **argv) {
    TestCaseArchive t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_case_archive.moc"
