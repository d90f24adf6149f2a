// The worksheet editing of the export on hand-written worksheets, read back with Qt's own XML
// reader: where rows and cells land, which style they take, what becomes of the template's
// content around them.
#include "output/sheet_xml.h"

#include <QTest>
#include <QXmlStreamReader>
#include <map>
#include <stdexcept>

namespace {

const QString 主空间 = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");

struct 读出格 {
    QString s, t, v, text;
    QStringList children;
};
struct 读出表 {
    QString dimension;
    std::map<int, QString> spans;
    std::vector<int> rows;
    QStringList cellOrder;           // every cell reference in document order
    std::map<QString, 读出格> cells; // by reference
    std::map<int, QString> heights;
    QStringList foreign; // elements outside the spreadsheet namespace
    QStringList kept;    // other elements of the sheet, in order
};

读出表 读表(const std::string &xml) {
    读出表 out;
    QXmlStreamReader r(QByteArray::fromStdString(xml));
    QString cell;
    while (!r.atEnd()) {
        if (r.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = r.name().toString();
        if (r.namespaceUri() != 主空间)
            out.foreign << r.qualifiedName().toString();
        const auto a = r.attributes();
        if (name == u"dimension") {
            out.dimension = a.value(QStringLiteral("ref")).toString();
        } else if (name == u"row") {
            const int n = a.value(QStringLiteral("r")).toInt();
            out.rows.push_back(n);
            if (a.hasAttribute(QStringLiteral("spans")))
                out.spans[n] = a.value(QStringLiteral("spans")).toString();
            if (a.hasAttribute(QStringLiteral("ht")))
                out.heights[n] = a.value(QStringLiteral("ht")).toString();
        } else if (name == u"c") {
            cell = a.value(QStringLiteral("r")).toString();
            out.cellOrder << cell;
            out.cells[cell] = {a.value(QStringLiteral("s")).toString(),
                               a.value(QStringLiteral("t")).toString(),
                               {},
                               {},
                               {}};
        } else if (name == u"v" || name == u"t" || name == u"f") {
            out.cells[cell].children << name;
            const QString text = r.readElementText();
            (name == u"v" ? out.cells[cell].v : out.cells[cell].text) = text;
        } else if (name == u"is") {
            out.cells[cell].children << name;
        } else if (name != u"worksheet" && name != u"sheetData") {
            out.kept << name;
        }
    }
    if (r.hasError())
        qWarning("unreadable output: %s", qPrintable(r.errorString()));
    return out;
}

写入格 文本格(int row, int col, const QString &text) {
    return {row, col, text, std::nullopt};
}

const char *const 模板表 = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006" mc:Ignorable="x14ac" xmlns:x14ac="http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac"><dimension ref="B2:D12"/><cols><col min="8" max="8" width="9" style="11"/></cols><sheetData><row r="2" spans="2:3"><c r="B2" s="1" t="inlineStr"><is><t>标题</t></is></c><c><v>7</v></c></row><row r="9" spans="2:4" ht="18" customHeight="1"><c r="B9" s="5"/><c r="C9" s="6"/><c r="D9" s="5"/></row><row r="12" spans="2:4" s="9" customFormat="1"><c r="B12" s="7" t="inlineStr"><is><t>合计</t></is></c><c r="C12" s="6"><f>SUM(C9:C11)</f><v>0</v></c><c r="D12" s="8"/></row></sheetData><mergeCells count="1"><mergeCell ref="B2:D2"/></mergeCells><extLst><ext uri="{X}"/></extLst></worksheet>)";

} // namespace

class TestSheetXml : public QObject {
    Q_OBJECT
  private slots:
    void columnNames_data();
    void columnNames();
    void rowsAndCellsStayInOrder();
    void stylesOfWrittenCells();
    void valuesReplaceWhatWasThere();
    void prefixedNamespaceIsKept();
    void notAWorksheet_data();
    void notAWorksheet();
};

void TestSheetXml::columnNames_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("name");
    for (auto [c, n] : std::initializer_list<std::pair<int, const char *>>{{1, "A"},
                                                                           {2, "B"},
                                                                           {26, "Z"},
                                                                           {27, "AA"},
                                                                           {52, "AZ"},
                                                                           {53, "BA"},
                                                                           {702, "ZZ"},
                                                                           {703, "AAA"},
                                                                           {16384, "XFD"}})
        QTest::newRow(n) << c << QString::fromLatin1(n);
}

void TestSheetXml::columnNames() {
    QFETCH(int, col);
    QFETCH(QString, name);
    QCOMPARE(QString::fromStdString(列名(col)), name);
}

void TestSheetXml::rowsAndCellsStayInOrder() {
    const 读出表 t =
        读表(填写工作表(模板表,
                        {文本格(13, 7, QStringLiteral("末")), 文本格(10, 2, QStringLiteral("甲")),
                         文本格(12, 3, QStringLiteral("丙")), 文本格(11, 5, QStringLiteral("乙")),
                         文本格(2, 1, QStringLiteral("左"))},
                        9));
    QCOMPARE(t.rows, (std::vector<int>{2, 9, 10, 11, 12, 13}));
    // The second cell of row 2 had no reference: it gets C2 before A2 goes in front of it.
    QCOMPARE(t.cellOrder, (QStringList{"A2", "B2", "C2", "B9", "C9", "D9", "B10", "E11", "B12",
                                       "C12", "D12", "G13"}));
    QCOMPARE(t.dimension, QStringLiteral("A2:G13"));
    QCOMPARE(t.spans.at(2), QStringLiteral("1:3"));
    QCOMPARE(t.spans.at(12), QStringLiteral("2:4"));
    QCOMPARE(t.spans.count(10), size_t(0));
    // Rows added below the pattern row are as tall as it.
    QCOMPARE(t.heights.at(10), QStringLiteral("18"));
    QCOMPARE(t.heights.count(2), size_t(0));
    // What lies around the sheet data stays, in its order.
    QCOMPARE(t.kept, (QStringList{"cols", "col", "mergeCells", "mergeCell", "extLst", "ext"}));
    QVERIFY(t.foreign.isEmpty());
}

void TestSheetXml::stylesOfWrittenCells() {
    const 读出表 t =
        读表(填写工作表(模板表,
                        {文本格(9, 3, QStringLiteral("a")), 文本格(10, 3, QStringLiteral("b")),
                         文本格(10, 4, {}), 文本格(10, 5, QStringLiteral("c")),
                         文本格(12, 4, QStringLiteral("d")), 文本格(2, 4, QStringLiteral("e")),
                         文本格(2, 8, QStringLiteral("f")), 文本格(1, 8, QStringLiteral("g"))},
                        9));
    QCOMPARE(t.cells.at("C9").s, QStringLiteral("6"));  // its own
    QCOMPARE(t.cells.at("C10").s, QStringLiteral("6")); // the pattern row's C9
    QCOMPARE(t.cells.at("D10").s, QStringLiteral("5")); // an empty text still makes the cell
    QCOMPARE(t.cells.at("E10").s, QString());           // no pattern cell, no row or column style
    QCOMPARE(t.cells.at("D12").s, QStringLiteral("8")); // a template cell keeps its style
    QCOMPARE(t.cells.at("D2").s, QString());            // above the pattern row: no pattern style
    QCOMPARE(t.cells.at("H2").s, QStringLiteral("11")); // the column's style
    QCOMPARE(t.cells.at("H1").s, QStringLiteral("11"));
    QVERIFY(t.cells.at("D10").children.isEmpty());
    QCOMPARE(t.cells.at("D10").t, QString());
}

void TestSheetXml::valuesReplaceWhatWasThere() {
    const 读出表 t = 读表(填写工作表(模板表,
                                     {{12, 3, QStringLiteral("5"), 5.0},
                                      {12, 2, QStringLiteral("总计 & <合>"), std::nullopt},
                                      {2, 3, QString(), std::nullopt},
                                      {9, 2, QStringLiteral("0.1"), 0.1},
                                      {9, 4, QStringLiteral("1e300"), 1e300},
                                      {9, 3, QStringLiteral("先"), std::nullopt},
                                      {9, 3, QStringLiteral("后"), std::nullopt},
                                      {2, 2, QStringLiteral("42"), 42.0},
                                      {10, 2, QStringLiteral("1000000"), 1e6},
                                      {10, 3, QStringLiteral("0.000001"), 1e-6}},
                                     9));
    // A formula and its cached value give way to the number; the text of B12 is replaced.
    QCOMPARE(t.cells.at("C12").children, QStringList{"v"});
    QCOMPARE(t.cells.at("C12").v, QStringLiteral("5"));
    QCOMPARE(t.cells.at("C12").t, QString());
    QCOMPARE(t.cells.at("B12").children, (QStringList{"is", "t"}));
    QCOMPARE(t.cells.at("B12").text, QStringLiteral("总计 & <合>"));
    QCOMPARE(t.cells.at("B12").t, QStringLiteral("inlineStr"));
    // An empty text empties the cell.
    QVERIFY(t.cells.at("C2").children.isEmpty());
    QCOMPARE(t.cells.at("B9").v, QStringLiteral("0.1"));
    QCOMPARE(t.cells.at("D9").v.toDouble(), 1e300);
    // A number over a text cell leaves no text type behind.
    QCOMPARE(t.cells.at("B2").children, QStringList{"v"});
    QCOMPARE(t.cells.at("B2").t, QString());
    QCOMPARE(t.cells.at("B2").v, QStringLiteral("42"));
    // Round amounts in plain digits, as spreadsheet programs write them.
    QCOMPARE(t.cells.at("B10").v, QStringLiteral("1000000"));
    QCOMPARE(t.cells.at("C10").v, QStringLiteral("0.000001"));
    // The later of two writes of one cell wins.
    QCOMPARE(t.cells.at("C9").text, QStringLiteral("后"));
    QCOMPARE(t.cellOrder.count("C9"), 1);
}

void TestSheetXml::prefixedNamespaceIsKept() {
    const std::string xml =
        R"(<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:dimension ref="A1"/><x:sheetData/></x:worksheet>)";
    const std::string out =
        填写工作表(xml, {文本格(9, 2, QStringLiteral("甲")), {9, 3, {}, 2.5}}, 9);
    const 读出表 t = 读表(out);
    QVERIFY2(t.foreign.isEmpty(), qPrintable(t.foreign.join(u' ')));
    QCOMPARE(t.cells.at("B9").text, QStringLiteral("甲"));
    QCOMPARE(t.cells.at("C9").v, QStringLiteral("2.5"));
    QCOMPARE(t.dimension, QStringLiteral("B9:C9"));
    QVERIFY(out.find("<x:row") != std::string::npos);
}

void TestSheetXml::notAWorksheet_data() {
    QTest::addColumn<QString>("xml");
    QTest::newRow("broken") << QStringLiteral("<worksheet xmlns=\"%1\"><sheetData>").arg(主空间);
    QTest::newRow("other root") << QStringLiteral("<workbook xmlns=\"%1\"/>").arg(主空间);
    QTest::newRow("other namespace")
        << QStringLiteral("<worksheet xmlns=\"urn:x\"><sheetData/></worksheet>");
    QTest::newRow("no sheet data") << QStringLiteral("<worksheet xmlns=\"%1\"/>").arg(主空间);
    QTest::newRow("empty") << QString();
}

void TestSheetXml::notAWorksheet() {
    QFETCH(QString, xml);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             填写工作表(xml.toStdString(), {文本格(9, 2, QStringLiteral("x"))}, 9));
}

int runSheetXmlTests(int argc, char **argv) {
    TestSheetXml t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_sheet_xml.moc"
