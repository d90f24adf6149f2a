// Tab-separated and HTML tables as the office's programs put them on the clipboard, read and
// written; the row count a pasted block leaves.
#include "common/blank_row.h"
#include "common/table_html.h"
#include "common/table_text.h"

#include <QTest>

class TestTableText : public QObject {
    Q_OBJECT
  private slots:
    void readText_data();
    void readText();
    void writeText();
    void readHtml_data();
    void readHtml();
    void hostileMarkup();
    void rowsAfterABlock_data();
    void rowsAfterABlock();
};

using Block = QList<QStringList>;

void TestTableText::readText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Block>("block");
    QTest::newRow("Calc: LF, final line end")
        << "甲\t1000\t工资\n乙\t2000.5\t\n"
        << Block{{"甲", "1000", "工资"}, {"乙", "2000.5", ""}};
    QTest::newRow("Excel: CR LF") << "甲\t1000\r\n乙\t2000\r\n"
                                  << Block{{"甲", "1000"}, {"乙", "2000"}};
    QTest::newRow("no final line end") << "a\tb\nc" << Block{{"a", "b"}, {"c"}};
    QTest::newRow("Calc: quoted line break") << "\"欠条\n两张\"\t5\n" << Block{{"欠条\n两张", "5"}};
    QTest::newRow("Excel: quoted CR LF, tab and quotes")
        << "\"x\r\ny\"\t\"a\tb\"\t\"他说\"\"好\"\"\"\r\n"
        << Block{{"x\r\ny", "a\tb", "他说\"好\""}};
    QTest::newRow("quote inside a cell") << "12\"\t3\n" << Block{{"12\"", "3"}};
    QTest::newRow("quote not closing the cell") << "\"A\" 类\tx\n" << Block{{"\"A\" 类", "x"}};
    QTest::newRow("unclosed quote") << "\"abc\td\n" << Block{{"\"abc", "d"}};
    QTest::newRow("empty cells") << "\t\t\n" << Block{{"", "", ""}};
    QTest::newRow("empty row inside") << "a\n\nb\n" << Block{{"a"}, {""}, {"b"}};
    QTest::newRow("one cell, CR") << "a\rb" << Block{{"a"}, {"b"}};
    QTest::newRow("empty") << "" << Block{};
}

void TestTableText::readText() {
    QFETCH(QString, text);
    QFETCH(Block, block);
    QCOMPARE(读表格文本(text), block);
}

void TestTableText::writeText() {
    const Block block{{"a", "b\"c", "1000"}, {"d\te", "", "x\ny"}};
    const QString text = "a\t\"b\"\"c\"\t1000\n\"d\te\"\t\t\"x\ny\"\n";
    QCOMPARE(表格文本(block), text);
    QCOMPARE(读表格文本(text), block);
}

void TestTableText::readHtml_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<Block>("block");
    QTest::newRow("Calc")
        << "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"><html><head>"
           "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\"/><style "
           "type=\"text/css\">body,div,table,td { font-family:\"Liberation Sans\" }</style></head>"
           "<body><table cellspacing=\"0\" border=\"0\"><colgroup width=\"85\"></colgroup>"
           "<colgroup span=\"2\" width=\"85\"></colgroup><tr><td height=\"17\" "
           "align=\"left\">甲</td><td align=\"right\" sdval=\"1000\" sdnum=\"2052;\">1000</td>"
           "<td align=\"left\"><br></td></tr><tr><td height=\"34\" align=\"left\">乙<br>丙</td>"
           "<td align=\"right\" sdval=\"2000.5\" sdnum=\"2052;\">2000.5</td><td align=\"left\">"
           "工资</td></tr></table></body></html>"
        << Block{{"甲", "1000", ""}, {"乙\n丙", "2000.5", "工资"}};
    QTest::newRow("web page: header cells, spans, no-break spaces")
        << "<p>名单</p><table><tr><th>债权人</th><th>金额</th><th>性质</th></tr>"
           "<tr><td colspan=\"2\">&nbsp;合计&nbsp;</td><td rowspan=\"2\">工资</td></tr>"
           "<tr><td>A &amp; B</td><td> 1,200 </td></tr></table>"
        << Block{{"债权人", "金额", "性质"}, {"合计", "", "工资"}, {"A & B", "1,200", ""}};
    QTest::newRow("inner table, character references, a comment")
        << "<table><tr><td>甲<table><tr><td>x</td></tr></table></td><td>&#20057;&#x4E19;</td></tr>"
           "<!-- <tr><td>no</td></tr> --><tr><td>1 &lt; 2</td><td>a&b</td></tr></table>"
        << Block{{"甲", "乙丙"}, {"1 < 2", "a&b"}};
    QTest::newRow("no table") << "<p>甲 1000</p>" << Block{};
    QTest::newRow("cells in an inner table")
        << "<table><tr><td><table><tr><td>甲</td><td>1</td></tr><tr><td>乙</td><td>2</td></tr>"
           "</table></td></tr></table>"
        << Block{{"甲", "1"}, {"乙", "2"}};
    QTest::newRow("'>' in an attribute, bare ampersands")
        << "<table><tr><td title='a>b' class=\"x>y\">甲</td><td>A & B &&& C;</td></tr></table>"
        << Block{{"甲", "A & B &&& C;"}};
    QTest::newRow("paragraphs and divisions start lines")
        << "<table><tr><td><p>第一行</p><p>第二行</p>三<div>四</div></td></tr></table>"
        << Block{{"第一行\n第二行\n三\n四"}};
    // The fuzzer's finds: an empty line as editable pages write it, and blanks that are text.
    QTest::newRow("html_div_br_lines_doubled.html")
        << "<table><tr><td>a<div><br></div><div>b</div></td><td>a<div>b</div></td>"
           "<td><div>a</div><div><br></div><div>b</div></td></tr></table>"
        << Block{{"a\n\nb", "a\nb", "a\n\nb"}};
    QTest::newRow("html_unicode_blank_trimmed_again")
        << QStringLiteral("<table><tr><td> \u0085a\u2002\t</td><td>\u3000b</td></tr></table>")
        << Block{{QStringLiteral("\u0085a\u2002"), QStringLiteral("\u3000b")}};
}

// Markup that asks for far more than any table holds stays cheap: spans are cut at 64
// columns, a run of '&' is plain text, and more than 200 000 cells are refused with a reason.
void TestTableText::hostileMarkup() {
    QString spans = QStringLiteral("<table><tr>");
    for (int k = 0; k < 3; ++k)
        spans += QStringLiteral("<td rowspan=1000 colspan=1000>x</td>");
    const Block wide = 读HTML表格(spans + QStringLiteral("</tr><tr><td>y</td></tr></table>"));
    QCOMPARE(wide.size(), 2);
    QCOMPARE(wide[0].size(), 3 * 64);
    QCOMPARE(wide[1].size(), 3 * 64 + 1); // "y" after the columns the spans still cover
    const QString ampersands(100000, u'&');
    QCOMPARE(读HTML表格("<table><tr><td>" + ampersands + "</td></tr></table>"),
             Block{{ampersands}});
    QString many = QStringLiteral("<table>");
    for (int r = 0; r < 4000; ++r)
        many += QStringLiteral("<tr><td colspan=64>x</td></tr>");
    QString refusal;
    QCOMPARE(读HTML表格(many + "</table>", &refusal), Block{});
    QCOMPARE(refusal, QStringLiteral("剪贴板上的表格超过 200000 个单元格，没有粘贴。"));
}

void TestTableText::readHtml() {
    QFETCH(QString, html);
    QFETCH(Block, block);
    QCOMPARE(读HTML表格(html), block);
    // What the program writes reads back the same.
    if (!block.isEmpty())
        QCOMPARE(读HTML表格(HTML表格(block, {})), block);
}

void TestTableText::rowsAfterABlock_data() {
    QTest::addColumn<QString>("rows"); // below the header: x filled, r a remark only, . blank
    QTest::addColumn<int>("count");
    QTest::newRow("last filled") << "xx" << 4;
    QTest::newRow("one blank kept") << "x." << 3;
    QTest::newRow("blanks trimmed") << "x...." << 3;
    QTest::newRow("blank inside kept") << "x.x." << 5;
    QTest::newRow("remark row is the entry row") << "xr" << 3;
    QTest::newRow("remark above blanks") << "xr.." << 4;
    QTest::newRow("all blank") << "..." << 2;
}

void TestTableText::rowsAfterABlock() {
    QFETCH(QString, rows);
    QFETCH(int, count);
    const auto at = [&](int r) { return r == 0 ? QChar('h') : rows[r - 1]; };
    QCOMPARE(块后行数(
                 int(rows.size() + 1), [&](int r) { return at(r) == '.'; },
                 [&](int r) { return at(r) == 'x' || at(r) == 'h'; }),
             count);
}

int runTableTextTests(int argc, char **argv) {
    TestTableText t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_table_text.moc"
