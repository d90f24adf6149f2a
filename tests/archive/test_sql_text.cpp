#include "archive/sql_text.h"
#include "code_units.h"
#include "common/number_text.h"
#include "common/varnel_error.h"

#include <QTest>

class TestSqlText : public QObject {
    Q_OBJECT
  private slots:
    void cellLiterals_data();
    void cellLiterals();
    void nameLiterals();
    void caseNumbers_data();
    void caseNumbers();
    void statementTexts();
};

void TestSqlText::cellLiterals_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("literal");
    QTest::newRow("empty") << "" << "Null";
    QTest::newRow("blanks") << "   " << "Null";
    QTest::newRow("blanks both sides") << "  张 三  " << "'张 三'";
    QTest::newRow("quote") << "O'Brien" << "'O''Brien'";
    QTest::newRow("only quotes") << "''" << "''''''";
    QTest::newRow("injection") << "'; drop table 案件; --" << "'''; drop table 案件; --'";
    QTest::newRow("tab kept") << "\tA\t" << "'\tA\t'";
    QTest::newRow("line break kept") << "a\r\nb\r\n" << "'a\r\nb\r\n'";
    QTest::newRow("full-width blank kept") << "\u3000甲\u3000" << "'\u3000甲\u3000'";
    QTest::newRow("full-width quote") << "＇" << "'＇'";
    QTest::newRow("backslash") << "\\" << "'\\'";
    // Cleaned as a cell is: nothing can end the literal early.
    QTest::newRow("lone surrogate, then a quote")
        << 码元({0xD800, u'\'', u',', u'2'}) << "'\uFFFD'',2'";
    QTest::newRow("U+0000") << 码元({u' ', 0, u'a', 0, u' '}) << "'a'";
    QTest::newRow("U+0000 only") << 码元({0, 0}) << "Null";
}

void TestSqlText::cellLiterals() {
    QFETCH(QString, cell);
    QFETCH(QString, literal);
    QCOMPARE(单元字面量(cell), literal);
}

void TestSqlText::nameLiterals() {
    QCOMPARE(名称字面量(QStringLiteral("甲'乙")), QStringLiteral("'甲''乙'"));
    // A name is used as given: its leading blanks stay, and an empty name is still a text.
    QCOMPARE(名称字面量(QStringLiteral("  甲")), QStringLiteral("'  甲'"));
    QCOMPARE(名称字面量(QString()), QStringLiteral("''"));
    QCOMPARE(名称字面量(码元({u'a', 0xDBFF, u'\'', 0})), QStringLiteral("'a\uFFFD'''"));
}

void TestSqlText::caseNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("error");
    QTest::newRow("plain") << "17" << 17 << "";
    QTest::newRow("largest") << "2147483647" << 2147483647 << "";
    QTest::newRow("one past") << "2147483648" << 0 << "溢出";
    QTest::newRow("half to even") << "2.5" << 2 << "";
    QTest::newRow("not a number") << "abc" << 0 << "类型不匹配";
    QTest::newRow("empty") << "" << 0 << "类型不匹配";
}

void TestSqlText::caseNumbers() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(QString, error);
    try {
        QCOMPARE(长整数值(text), value);
        QVERIFY(error.isEmpty());
    } catch (const VarnelError &e) {
        QCOMPARE(e.description(), error);
    }
}

// The statement texts character for character, blanks included.
void TestSqlText::statementTexts() {
    using namespace 案件语句;
    QCOMPARE(查名称("a'b"), QStringLiteral("SELECT 名称 FROM 案件 where 名称='a''b' "));
    QCOMPARE(插入案件("a"), QStringLiteral("insert into 案件 ( 名称 ) values ('a')"));
    QCOMPARE(查案件号("a"), QStringLiteral("SELECT ajid FROM 案件 where 名称='a' "));
    QCOMPARE(删除交款(7), QStringLiteral("delete from 交款 where ajid = 7"));
    QCOMPARE(删除债权(7), QStringLiteral("delete from 债权 where ajid = 7"));
    QCOMPARE(删除案件(7), QStringLiteral("delete from 案件 where ajid = 7"));
    QCOMPARE(插入交款(12, {"'甲'", "'100'", "Null", "'x'"}),
             QStringLiteral(" insert into 交款 ( ajid , 交款人, 金额, 交款时间, 备注) values "
                            "( 12 , '甲','100',Null,'x' )"));
    QCOMPARE(插入债权(12, {"'乙'", "'50'", "'抵押'", "'40'", "'30'", "Null"}),
             QStringLiteral(" insert into 债权 ( ajid ,债权人, 债权金额, 债权性质, "
                            "其中抵押优先金额, 分配金额, 备注) values ( 12 , "
                            "'乙','50','抵押','40' ,'30',Null  )"));
    QCOMPARE(列出案件(), QStringLiteral("SELECT * FROM 案件  ORDER BY ajid "));
    QCOMPARE(读交款(3), QStringLiteral("SELECT 交款人, 金额, 交款时间, 备注 FROM 交款 where "
                                       "ajid=3 ORDER BY id "));
    QCOMPARE(读债权(3), QStringLiteral("SELECT 债权.债权人, 债权.债权金额, 债权.债权性质, "
                                       "债权.其中抵押优先金额, 债权.分配金额, 债权.备注 FROM 债权 "
                                       "WHERE  ((债权.ajid)=3) ORDER BY 债权.id"));
}

int runSqlTextTests(int argc, char **argv) {
    TestSqlText t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_sql_text.moc"
