// The fields of one part of a word-processing document, XML in and XML out: where a value goes
// among the runs, what happens to the runs after it, and the rows and paragraphs that change.
#include "output/docx_xml.h"

#include <QTest>

namespace {

const char *const 头 = R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)";
const char *const 尾 = "</w:body></w:document>";

std::string 部件(const QString &body) {
    return 头 + body.toStdString() + 尾;
}

文书字段 字段() {
    文书字段 f;
    f.全文 = {{"案件名称", "甲诉乙案"}, {"多行", "一\r\n二\t三"}, {"日期", "二〇二六年十二月七日"},
              {"引号", "«日期»"}, {"控制", QStringLiteral("a\x01" "b")}};
    f.重复 = {{{"债权人"}, {{{"债权人", "张三"}}, {{"债权人", "李四"}}}}, {{"交款人"}, {}}};
    f.去段 = {"余款"};
    return f;
}

} // namespace

class TestDocxXml : public QObject {
    Q_OBJECT
  private slots:
    void fields_data();
    void fields();
    void notAWordProcessingPart();
};

void TestDocxXml::fields_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("filled");
    const QString p = QStringLiteral(R"(<w:p><w:r><w:t xml:space="preserve">%1</w:t></w:r></w:p>)");
    QTest::newRow("over three runs")
        << R"(<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>前«案</w:t></w:r><w:proofErr w:type="spellStart"/><w:r><w:rPr><w:i/></w:rPr><w:t>件名</w:t></w:r><w:r><w:t>称»后</w:t></w:r></w:p>)"
        << R"(<w:p><w:r><w:rPr><w:b/></w:rPr><w:t xml:space="preserve">前甲诉乙案</w:t></w:r><w:proofErr w:type="spellStart"/><w:r><w:rPr><w:i/></w:rPr><w:t xml:space="preserve"></w:t></w:r><w:r><w:t xml:space="preserve">后</w:t></w:r></w:p>)";
    QTest::newRow("lines and tabs")
        << "<w:p><w:r><w:t>«多行»。</w:t></w:r></w:p>"
        << R"(<w:p><w:r><w:t xml:space="preserve">一</w:t><w:br/><w:t xml:space="preserve">二</w:t><w:tab/><w:t xml:space="preserve">三。</w:t></w:r></w:p>)";
    QTest::newRow("unknown, nested and a value never read again")
        << "<w:p><w:r><w:t>«无此字段»«a«案件名称»，«引号»«日期</w:t></w:r></w:p>"
        << p.arg("«无此字段»«a甲诉乙案，«日期»«日期");
    QTest::newRow("characters XML cannot hold") << "<w:p><w:r><w:t>«控制»</w:t></w:r></w:p>" << p.arg("ab");
    QTest::newRow("optional sentence left out")
        << "<w:p><w:r><w:t>余款«余款»元。</w:t></w:r></w:p><w:p><w:r><w:t>«日期»</w:t></w:r></w:p>"
        << p.arg("二〇二六年十二月七日");
    QTest::newRow("optional sentence alone in a cell")
        << "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>余款«余款»</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
        << R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:t xml:space="preserve"></w:t></w:r></w:p></w:tc></w:tr></w:tbl>)";
    QTest::newRow("repeated row")
        << "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>头</w:t></w:r></w:p></w:tc></w:tr><w:tr><w:tc><w:p><w:r><w:t>«债权人»/«案件名称»</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
        << R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:t>头</w:t></w:r></w:p></w:tc></w:tr><w:tr><w:tc><w:p><w:r><w:t xml:space="preserve">张三/甲诉乙案</w:t></w:r></w:p></w:tc></w:tr><w:tr><w:tc><w:p><w:r><w:t xml:space="preserve">李四/甲诉乙案</w:t></w:r></w:p></w:tc></w:tr></w:tbl>)";
    QTest::newRow("a table of no rows left")
        << "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>«交款人»</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p/>"
        << "<w:p/><w:p/>";
}

void TestDocxXml::fields() {
    QFETCH(QString, body);
    QFETCH(QString, filled);
    QCOMPARE(QString::fromStdString(填写文书部件(部件(body), 字段())),
             QString::fromStdString(部件(filled)));
}

void TestDocxXml::notAWordProcessingPart() {
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, 填写文书部件("<a><b/></a>", 字段()));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, 填写文书部件("<w:document", 字段()));
}

int runDocxXmlTests(int argc, char **argv) {
    TestDocxXml t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_docx_xml.moc"
