// The archive's writes called as the import tool or any window would call them, without a
// window, on both engines: every outcome of a save and of a delete, and that an outcome other
// than 已成 leaves the archive exactly as it was; the statements a write sends; texts stored and
// read back; numbers never given twice.
#include "archive/case_record.h"
#include "archive/sql_text.h"
#include "code_units.h"
#include "service_fixture.h"

#include <QTest>

namespace {

using Rows = QList<QStringList>;

const 案件行 原行{{{"甲付", "100", "2024-01-02", "  "}}, {{"乙", "80", "一般债权", "", "", "x"}}};
const 案件行 新行{{{"O'Brien", "200", "", "a;b -- c"}}, {{"丙", "50", "", "", "", ""}}};
const 案件行 别人的行{{{"别人改的", "1", "", ""}}, {}};

// Texts that would end a quoted literal, start a comment, end a statement or be read as an
// escape if they reached the SQL text unguarded.
const 案件行 险行{{{"O'Brien", "100", "C:\\案卷\\", "a;b -- c"}, {"Null", "'", "\\'", "  "}},
                  {{"丙'; DELETE FROM 案件; --", "80", "一般债权", "", "", "/* x */"},
                   {"", "", "", "", "", ""}}};

} // namespace

class TestCaseArchive : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        数据库设置::语句记录 = nullptr;
        archive.reset();
    }
    void outcomes_data();
    void outcomes();
    void statements_data();
    void statements();
    void textsReadBackAsStored_data();
    void textsReadBackAsStored();
    void numbersAreNeverGivenTwice_data() { 两种引擎(); }
    void numbersAreNeverGivenTwice();

  private:
    std::unique_ptr<EngineArchive> archive;
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
    OPEN_ARCHIVE(engine);

    const 写入结局 first = 保存(0, QStringLiteral("Case A"), 原行);
    QCOMPARE(int(first.结果), int(写入结果::已成));
    QVERIFY(first.案件号 >= 1);
    QCOMPARE(first.行, 存后(原行));
    if (before == QLatin1String("changed"))
        QCOMPARE(int(保存(first.案件号, {}, 别人的行, first.行).结果), int(写入结果::已成));
    if (before == QLatin1String("deleted"))
        QCOMPARE(int(删除案件(first.案件号, first.行).结果), int(写入结果::已成));
    const Rows was = archive->everything();

    const bool isNew = call == QLatin1String("save") && !name.isEmpty();
    const 写入结局 result = call == QLatin1String("delete")
                                ? 删除案件(first.案件号, first.行)
                                : 保存(isNew ? 0 : first.案件号, name, 新行, first.行);
    QCOMPARE(int(result.结果), outcome);
    if (result.结果 != 写入结果::已成) {
        QCOMPARE(archive->everything(), was);
        // Changed since: the rows stored now come back, for the next attempt to compare with.
        QCOMPARE(result.行, result.结果 == 写入结果::已变 ? 存后(别人的行) : 案件行{});
        return;
    }
    if (call == QLatin1String("delete")) {
        QCOMPARE(archive->rows("SELECT COUNT(*) FROM 案件"), (Rows{{"0"}}));
        QCOMPARE(archive->rows("SELECT COUNT(*) FROM 交款").value(0).value(0), QStringLiteral("0"));
        return;
    }
    // Saved: the number of the case, and the rows a load reads back now.
    QCOMPARE(result.行, 存后(新行));
    QCOMPARE(result.案件号 == first.案件号, !isNew);
    QCOMPARE(读出存储案件(result.案件号), std::optional<案件行>(存后(新行)));
    if (isNew)
        QCOMPARE(读出存储案件(first.案件号), std::optional<案件行>(存后(原行)));
}

// What a write sends, 险行 saved: a new case, the stored case again, then deleted. On SQLite
// every statement in its order, in one transaction marked for the record of versions, the name
// looked up inside it so that no other copy can take it between; a server gets the rows'
// statements joined into one execution, cells quoted exactly as on SQLite.
void TestCaseArchive::statements_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("call");
    for (const char *engine : {"sqlite", "pg"})
        for (const char *call : {"new", "stored", "delete"})
            QTest::addRow("%s, %s", engine, call) << engine << call;
}

void TestCaseArchive::statements() {
    QFETCH(QString, engine);
    QFETCH(QString, call);
    OPEN_ARCHIVE(engine);
    const QString name = QStringLiteral("O'Neil \\ 案; --");
    std::int32_t id = 0;
    if (call != QLatin1String("new")) {
        id = 存新案(name, 险行);
        QVERIFY(id >= 1);
    }
    { // a new varnel.db gains the record of versions at its first write's open
        std::unique_ptr<数据库连接> first;
        打开数据库(first, 数据库用途::保存);
    }
    QStringList sent;
    数据库设置::语句记录 = [&sent](const QString &sql, bool) { sent << sql; };
    const 写入结局 result = call == QLatin1String("delete") ? 删除案件(id, 存后(险行))
                                                          : 保存(id, name, 险行, 存后(险行));
    数据库设置::语句记录 = nullptr;
    QCOMPARE(int(result.结果), int(写入结果::已成));
    const std::int32_t n = result.案件号;
    const QString pay = " insert into 交款 ( ajid , 交款人, 金额, 交款时间, 备注) values ( " +
                        QString::number(n);
    const QString debt = " insert into 债权 ( ajid ,债权人, 债权金额, 债权性质, "
                         "其中抵押优先金额, 分配金额, 备注) values ( " +
                         QString::number(n);
    const QStringList batch =
        call == QLatin1String("delete")
            ? QStringList{案件语句::删除案件(n), 案件语句::删除债权(n), 案件语句::删除交款(n)}
            : QStringList{案件语句::删除交款(n), 案件语句::删除债权(n),
                          pay + " , 'O''Brien','100','C:\\案卷\\','a;b -- c' )",
                          pay + " , 'Null','''','\\''',Null )",
                          debt + " , '丙''; DELETE FROM 案件; --','80','一般债权',Null ,Null,'/* x */'  )",
                          debt + " , Null,Null,Null,Null ,Null,Null  )"};
    if (archive->server) {
        QVERIFY2(sent.contains(batch.join(u';')), qPrintable(sent.join(u'\n')));
        QCOMPARE(sent.last(), QStringLiteral("COMMIT"));
        return;
    }
    const QStringList reads =
        call == QLatin1String("new")
            ? QStringList{"SELECT 名称 FROM 案件 where 名称='O''Neil \\ 案; --' ",
                          "insert into 案件 ( 名称 ) values ('O''Neil \\ 案; --')",
                          "SELECT ajid FROM 案件 where 名称='O''Neil \\ 案; --' "}
            : QStringList{案件语句::查案件在否(n), 案件语句::读交款(n), 案件语句::读债权(n)};
    // The probe that tells a damaged file at the open is not one of the write's statements.
    const QStringList expected = QStringList{"BEGIN IMMEDIATE", 版本事务开始语句()} + reads +
                                 batch + QStringList{版本事务结束语句(), "COMMIT"};
    QCOMPARE(sent.mid(1), expected);
}

void TestCaseArchive::textsReadBackAsStored_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept"); // as stored and read back
    for (const char *engine : {"sqlite", "pg"}) {
        auto row = [engine](const char *tag, const QString &text, const QString &kept) {
            QTest::addRow("%s, %s", engine, tag) << QString::fromLatin1(engine) << text << kept;
        };
        for (const auto &[tag, text] : QList<std::pair<const char *, QString>>{
                 {"quote", "O'Brien"},
                 {"injection", "'; drop table 案件; --"},
                 {"backslash", "\\"},
                 {"like wildcards", "%_"},
                 {"double quote", "\""},
                 {"line break", "第一行\r\n第二行"},
                 {"emoji", "款项😀"},
                 {"full-width quote", "＇甲＇"},
                 {"long", QString(10000, QChar(0x6B3E))},
                 {"blanks inside", "a  'b'  c"},
                 // Only the blank U+0020 is trimmed: other white space at the end is kept.
                 {"trailing tab", "款项\t"},
                 {"trailing ideographic blank", "款项\u3000"},
                 {"trailing line break", "款项\r\n"}})
            row(tag, text, text);
        // A text from outside (a paste) loses unpaired surrogates and U+0000, and no cell changes
        // the statement around it.
        row("U+0000", 码元({u'a', 0, u'\'', 0}), "a'");
        row("lone high surrogate, then a quote",
            码元({0xD800, u'\'', u',', u' ', u'2', u' ', u'-', u'-'}), "\uFFFD', 2 --");
        row("lone low surrogate", 码元({u'x', 0xDC00, u'\''}), "x\uFFFD'");
    }
}

// A text as a case's name and in text cells of both tables comes back, through the list and a
// load, as stored.
void TestCaseArchive::textsReadBackAsStored() {
    QFETCH(QString, engine);
    QFETCH(QString, text);
    QFETCH(QString, kept);
    OPEN_ARCHIVE(engine);
    const 案件行 typed{{{text, "100", "", ""}, {"乙", "50.5", "", text}},
                       {{text, "80", "一般债权", "", "", ""}, {"丁", "120", "抵押", "100", "", text}}};
    std::int32_t id = 0;
    QCOMPARE(错误说明([&] { id = 存新案(text, typed); }), QStringLiteral("<none>"));
    QVERIFY(id >= 1);
    const QList<案件条目> listed = 列出案件();
    QCOMPARE(listed.size(), 1);
    QCOMPARE(listed[0].名称, kept);
    QCOMPARE(listed[0].案件号, QString::number(id));
    const 案件行 expected{{{kept, "100", "", ""}, {"乙", "50.5", "", kept}},
                          {{kept, "80", "一般债权", "", "", ""}, {"丁", "120", "抵押", "100", "", kept}}};
    QCOMPARE(读出存储案件(id), std::optional<案件行>(expected));
    // Empty cells are stored as NULL.
    QCOMPARE(archive->rows("SELECT 交款时间 FROM 交款 ORDER BY id").value(0),
             QStringList{"<NULL>"});
}

// A deleted case's number and its rows' keys are not given to a case saved after it.
void TestCaseArchive::numbersAreNeverGivenTwice() {
    QFETCH(QString, engine);
    OPEN_ARCHIVE(engine);
    const 案件行 rows{{{"甲付", "1", "", ""}, {"乙付", "2", "", ""}}, {}};
    QVERIFY(存新案(QStringLiteral("甲案"), rows) >= 1);
    const std::int32_t second = 存新案(QStringLiteral("乙案"), rows);
    const QString lastKey = archive->rows("SELECT max(id) FROM 交款").value(0).value(0);
    QCOMPARE(int(删除案件(second, 存后(rows)).结果), int(写入结果::已成));
    const std::int32_t third = 存新案(QStringLiteral("丙案"), rows);
    QVERIFY2(third > second, qPrintable(QString::number(third)));
    const Rows keys = archive->rows(
        QStringLiteral("SELECT min(id) FROM 交款 WHERE ajid = %1").arg(third));
    QVERIFY2(keys.value(0).value(0).toLongLong() > lastKey.toLongLong(),
             qPrintable(keys.value(0).value(0) + " " + lastKey));
}

int runCaseArchiveTests(int argc, char **argv) {
    TestCaseArchive t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_case_archive.moc"
