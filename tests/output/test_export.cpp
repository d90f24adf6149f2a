// The spreadsheet export: the template, the numbered copies and what is in them, read back with
// openpyxl (tests/output/xlsx_tool.py) as an independent reader; and every failure the clerk
// can meet, each with its message and nothing left behind.
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "common/varnel_error.h"
#include "host_path.h"
#include "output/spreadsheet_export.h"
#include "output/saved_file.h"
#include "output/spreadsheet_files.h"
#include "output/xlsx_fill.h"
#include "window_test.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

int runSheetXmlTests(int argc, char **argv);

namespace {

const QString 工具 = QStringLiteral(OUTPUT_TEST_DIR "/xlsx_tool.py");
const QString 原模板 = QStringLiteral(VARNEL_TEMPLATE_FILE);
const QStringList 表头 = {"债权人或案款项目", "债权金额", "债权性质",
                          "其中抵押优先金额", "分配金额", "备注"};

QByteArray 运行工具(const QStringList &args) {
    const HostRun run = runOnHost(QStringLiteral(VARNEL_PYTHON3), QStringList{工具} + args);
    if (run.exitCode != 0)
        qWarning("xlsx_tool %s failed: %s", qPrintable(args.join(u' ')), run.err.constData());
    return run.out;
}

QJsonObject 读表(const QString &file, int sheet = 0) {
    return QJsonDocument::fromJson(运行工具({"read", file, QString::number(sheet)})).object();
}

QJsonObject 格(const QJsonObject &sheet, const QString &ref) {
    return sheet[QStringLiteral("cells")].toObject()[ref].toObject();
}

bool 有格(const QJsonObject &sheet, const QString &ref) {
    return sheet[QStringLiteral("cells")].toObject().contains(ref);
}

QByteArray 摘要(const QString &file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void 建文件(const QString &path, const QByteArray &content = {}) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
}

// A claims grid with the given data rows under a header row of its own (which must never reach
// the sheet).
std::unique_ptr<FlexGrid> 债权表(const QList<QStringList> &rows) {
    auto g = std::make_unique<FlexGrid>(nullptr);
    g->setRows(int(rows.size()) + 1);
    g->setCols(6);
    for (int c = 0; c < 6; ++c)
        g->setTextMatrix(0, c, QStringLiteral("表头%1").arg(c));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            g->setTextMatrix(r + 1, c, rows[r][c]);
    return g;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void templateLayout();
    void exportFillsTheCopy();
    void rowsWritten_data();
    void rowsWritten();
    void sheetLimits_data();
    void sheetLimits();
    void textsAndNumbers();
    void freeNames_data();
    void freeNames();
    void failures_data();
    void failures();
    void openerFails();
    void libreOfficeTemplate();
    void firstSheetThroughRelationships();
    void overwrittenFormulaLeavesNoCalculationChain();
    void purgeLeavesOtherFiles();
    void changedCopiesStay_data();
    void changedCopiesStay();
    void windowCommand();
    void windowShowsFailure();

  private:
    QString 目录() const { return 加尾分隔符(dir->path()); }
    QString 副本(int n) const { return 表格文件名(目录(), n); }
    QString 模板() const { return 目录() + QStringLiteral("akfpb.xlsx"); }
    QString 导出并取错误(const FlexGrid &grid, const QString &note);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<BoxAnswerer> guard; // answers any box the test did not expect
    QStringList opened;
    bool openSucceeds = true;
    文件复制函数 realCopy;
};

void TestExport::initTestCase() {
    QVERIFY2(QFile::exists(原模板), qPrintable(原模板));
    realCopy = 模板复制器();
    文件打开器() = [this](const QString &path) {
        opened << path;
        return openSucceeds;
    };
}

void TestExport::init() {
    guard = std::make_unique<BoxAnswerer>();
    dir = std::make_unique<QTemporaryDir>();
    设应用目录(目录());
    QVERIFY(QFile::copy(原模板, 模板()));
    opened.clear();
    openSucceeds = true;
    模板复制器() = realCopy;
}

void TestExport::cleanup() {
    模板复制器() = realCopy;
    // A box no test expected fails the test; the guard has answered it.
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

QString TestExport::导出并取错误(const FlexGrid &grid, const QString &note) {
    try {
        输出电子表格(grid, note);
    } catch (const VarnelError &e) {
        return e.description();
    }
    return QString();
}

void TestExport::templateLayout() {
    const QJsonObject t = 读表(原模板);
    QCOMPARE(t["sheets"].toArray().first().toString(), QStringLiteral("案款分配表"));
    QCOMPARE(t["merged"].toArray(), (QJsonArray{"B2:G2", "B5:G7", "C3:G3"}));
    const QJsonObject title = 格(t, "B2");
    QCOMPARE(title["v"].toString(), QStringLiteral("案款分配表"));
    QVERIFY(title["bold"].toBool());
    QVERIFY(title["size"].toDouble() > 11);
    QCOMPARE(title["h"].toString(), QStringLiteral("center"));
    QCOMPARE(格(t, "B3")["v"].toString(), QStringLiteral("案件名称"));
    QCOMPARE(格(t, "B4")["v"].toString(), QStringLiteral("分配说明"));
    const QJsonObject note = 格(t, "B5");
    QVERIFY(note["wrap"].toBool());
    QCOMPARE(note["h"].toString(), QStringLiteral("left"));
    QCOMPARE(note["vert"].toString(), QStringLiteral("top"));
    const QJsonObject heights = t["heights"].toObject();
    const double box = heights["5"].toDouble() + heights["6"].toDouble() + heights["7"].toDouble();
    QVERIFY2(box >= 5 * 14.25, qPrintable(QString::number(box))); // five lines of 11 pt
    for (int c = 0; c < 6; ++c) {
        const QString col(QChar(u'B' + c));
        const QJsonObject head = 格(t, col + "8");
        QCOMPARE(head["v"].toString(), 表头[c]);
        QVERIFY(head["bold"].toBool() && head["wrap"].toBool());
        QCOMPARE(head["border"].toString(), QStringLiteral("thin thin thin thin"));
        QCOMPARE(head["fill"].toString().right(6), QStringLiteral("D9D9D9"));
        const QJsonObject pattern = 格(t, col + "9");
        const bool amount = c == 1 || c == 3 || c == 4;
        QCOMPARE(pattern["fmt"].toString(),
                 amount ? QStringLiteral("#,##0.00") : QStringLiteral("@"));
        QCOMPARE(pattern["h"].toString(),
                 amount ? QStringLiteral("right") : QStringLiteral("left"));
        QCOMPARE(pattern["border"].toString(), QStringLiteral("thin thin thin thin"));
        QCOMPARE(pattern["v"], QJsonValue());
        QVERIFY(t["widths"].toObject()[col].toDouble() >= 10);
    }
    QCOMPARE(t["freeze"].toString(), QStringLiteral("A9"));
    QCOMPARE(t["paper"].toInt(), 9);
    QCOMPARE(t["orientation"].toString(), QStringLiteral("portrait"));
    QVERIFY(t["fitToPage"].toBool());
    QVERIFY(t["fitToWidth"].isNull() || t["fitToWidth"].toInt() == 1); // 1 is the default
    QCOMPARE(t["fitToHeight"].toInt(), 0);
    QCOMPARE(t["printTitles"].toString(), QStringLiteral("$8:$8"));
    QCOMPARE(t["footer"].toString(), QStringLiteral("第 &P 页，共 &N 页"));
}

void TestExport::exportFillsTheCopy() {
    const auto grid =
        债权表({{"张三  ", "1,234.5", "一般债权", "", "617.25 ", "身份证号110101199003071234"},
                {"110101199003071234", "待定", "抵押", "300", "0", "  "},
                {}});
    const QByteArray before = 摘要(模板());
    输出电子表格(*grid, QStringLiteral("第一行\r\n第二行"));

    QCOMPARE(opened, QStringList{副本(1)});
    QCOMPARE(摘要(模板()), before);
    const QJsonObject t = 读表(副本(1));
    QCOMPARE(格(t, "B5")["v"].toString(), QStringLiteral("第一行\n第二行"));
    QCOMPARE(格(t, "B5")["t"].toString(), QStringLiteral("s"));
    struct Expected {
        const char *ref;
        QJsonValue v;
        const char *type;
    };
    const Expected cells[] = {{"B9", "张三", "s"},
                              {"C9", 1234.5, "n"},
                              {"D9", "一般债权", "s"},
                              {"E9", QJsonValue(), "n"},
                              {"F9", 617.25, "n"},
                              {"G9", "身份证号110101199003071234", "s"},
                              {"B10", "110101199003071234", "s"},
                              {"C10", "待定", "s"},
                              {"D10", "抵押", "s"},
                              {"E10", 300, "n"},
                              {"F10", 0, "n"},
                              {"G10", QJsonValue(), "n"},
                              {"B11", QJsonValue(), "n"},
                              {"F11", QJsonValue(), "n"}};
    for (const Expected &e : cells) {
        const QJsonObject c = 格(t, e.ref);
        QVERIFY2(c["v"] == e.v, e.ref);
        QVERIFY2(c["t"].toString() == QLatin1String(e.type), e.ref);
        QVERIFY2(c["border"].toString() == QStringLiteral("thin thin thin thin"), e.ref);
    }
    for (const char *ref : {"C10", "E9", "F11"})
        QCOMPARE(格(t, ref)["fmt"].toString(), QStringLiteral("#,##0.00"));
    for (const char *ref : {"B10", "G11"})
        QCOMPARE(格(t, ref)["fmt"].toString(), QStringLiteral("@"));
    QVERIFY(!有格(t, "B12"));
    // The template's cells outside the claims table and B5 are as they were; row 8 keeps the
    // template's headings, not the grid's header row.
    const QJsonObject original = 读表(原模板)["cells"].toObject();
    for (auto it = original.begin(); it != original.end(); ++it)
        if (it.key() != u"B5" && !it.key().endsWith(u'9'))
            QVERIFY2(格(t, it.key()) == it.value().toObject(), qPrintable(it.key()));
    QCOMPARE(t["merged"].toArray(), (QJsonArray{"B2:G2", "B5:G7", "C3:G3"}));
    QCOMPARE(t["printTitles"].toString(), QStringLiteral("$8:$8"));
}

void TestExport::rowsWritten_data() {
    QTest::addColumn<int>("dataRows");
    QTest::newRow("header only") << 0;
    QTest::newRow("one data row") << 1;
    QTest::newRow("three") << 3;
}

void TestExport::rowsWritten() {
    QFETCH(int, dataRows);
    QList<QStringList> rows;
    for (int r = 1; r <= dataRows; ++r)
        rows << QStringList{QStringLiteral("债权人%1").arg(r), QString::number(r * 100)};
    输出电子表格(*债权表(rows), QStringLiteral("说明"));
    const QJsonObject t = 读表(副本(1));
    for (int r = 1; r <= dataRows; ++r) {
        QCOMPARE(格(t, QStringLiteral("B%1").arg(r + 8))["v"].toString(),
                 QStringLiteral("债权人%1").arg(r));
        QCOMPARE(格(t, QStringLiteral("C%1").arg(r + 8))["v"].toDouble(), r * 100.0);
        QCOMPARE(格(t, QStringLiteral("G%1").arg(r + 8))["border"].toString(),
                 QStringLiteral("thin thin thin thin"));
    }
    // Nothing below the last data row (row 9 is the template's own pattern row).
    QVERIFY(!有格(t, QStringLiteral("B%1").arg(std::max(dataRows, 1) + 9)));
    if (dataRows == 0)
        QCOMPARE(格(t, "B9")["v"], QJsonValue());
    QCOMPARE(格(t, "B8")["v"].toString(), 表头[0]);
}

void TestExport::sheetLimits_data() {
    QTest::addColumn<int>("rows"); // of the grid, its header row among them
    QTest::addColumn<int>("cols");
    QTest::addColumn<bool>("fits");
    // Grid row i goes to sheet row i + 8 (the last is 1048576), column j to column j + 2 (the
    // last is 16384, XFD).
    QTest::newRow("last sheet row") << 1048569 << 0 << true;
    QTest::newRow("a row past it") << 1048570 << 0 << false;
    QTest::newRow("last sheet column") << 2 << 16383 << true;
    QTest::newRow("a column past it") << 2 << 16384 << false;
}

void TestExport::sheetLimits() {
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(bool, fits);
    FlexGrid grid(nullptr);
    grid.setCols(cols);
    grid.setRows(rows);
    QString error;
    try {
        导出单元(grid, QStringLiteral("说明"));
    } catch (const VarnelError &e) {
        error = e.description();
    }
    QCOMPARE(error, fits ? QString() : QStringLiteral("溢出"));
}

void TestExport::textsAndNumbers() {
    // v: the value in the file, as openpyxl reads it (it leaves _xHHHH_ as written); shown:
    // the text LibreOffice reads, escapes decoded, where it differs from v.
    struct Case {
        int col;
        QString text;
        QJsonValue v;
        const char *type;
        QString shown = QString();
    };
    const QList<Case> cases = {
        {0, "  李四  ", "  李四", "s"}, // only trailing blanks go
        {0, "110101199003071234", "110101199003071234", "s"},
        {5, "6217000010001234567", "6217000010001234567", "s"},
        {2, "300", "300", "s"}, // not an amount column
        {1, "1,234.5", 1234.5, "n"},
        {1, "１２３", 123, "n"}, // full-width digits are a number
        {1, "-5.50 ", -5.5, "n"},
        {1, "1e3", 1000, "n"},
        {3, "0.1", 0.1, "n"},
        {4, "12345678901.23", 12345678901.23, "n"},
        {1, "待定", "待定", "s"},
        {1, "1.2.3", "1.2.3", "s"},
        {0, "_x0041_", "_x005F_x0041_", "s", "_x0041_"}, // a literal escape stays literal
        {0, "_x00zz_", "_x00zz_", "s"},
        // The escape of the control character closes what would read as an escape of "A".
        {0, QStringLiteral("_x0041\x01"), "_x005F_x0041_x0001_", "s", QStringLiteral("_x0041\x01")},
        {5, QStringLiteral("_x0041\uFFFF"), "_x005F_x0041_xFFFF_", "s",
         QStringLiteral("_x0041\uFFFF")},
        {0, QStringLiteral("_x004G\x01"), "_x004G_x0001_", "s", QStringLiteral("_x004G\x01")},
        {0, QStringLiteral("\U00020000\uFFFD"), QStringLiteral("\U00020000\uFFFD"), "s"},
        {0, QString(QChar(0xD800)) + QStringLiteral("', 2 --"), QStringLiteral("\uFFFD', 2 --"),
         "s"},
        {0,
         QStringLiteral("a\x01"
                        "b\x1F"
                        "c"),
         "a_x0001_b_x001F_c", "s",
         QStringLiteral("a\x01"
                        "b\x1F"
                        "c")},
        {0, "x\r\ny\rz\tw", "x\ny\nz\tw", "s"},
        {0, "<&>\"'", "<&>\"'", "s"},
        {0, QString(40000, QChar(u'字')), QString(32767, QChar(u'字')), "s"},
        {0, QString(32768, QChar(u'字')), QString(32767, QChar(u'字')), "s"},
        {5, QString(32767, QChar(u'a')), QString(32767, QChar(u'a')), "s"},
        // A character outside the basic plane is not cut in half at the limit.
        {0, QString(32766, QChar(u'a')) + QStringLiteral("𠀀b"), QString(32766, QChar(u'a')), "s"},
        {5, "   ", QJsonValue(), "n"},
        {0, "", QJsonValue(), "n"},
    };
    QList<QStringList> rows;
    for (const Case &c : cases) {
        QStringList row(6);
        row[c.col] = c.text;
        rows << row;
    }
    输出电子表格(*债权表(rows), QString());
    const QJsonObject t = 读表(副本(1));
    for (int i = 0; i < cases.size(); ++i) {
        const QString ref = QChar(u'B' + cases[i].col) + QString::number(i + 9);
        const QJsonObject c = 格(t, ref);
        QVERIFY2(c["v"] == cases[i].v,
                 qPrintable(ref + ": " + c["v"].toVariant().toString().left(40)));
        QVERIFY2(c["t"].toString() == QLatin1String(cases[i].type), qPrintable(ref));
    }
    QCOMPARE(格(t, "B5")["v"], QJsonValue()); // an empty summary leaves B5 without a value
    // Every text reads back in LibreOffice as it stood in the grid.
    const QJsonObject shown = QJsonDocument::fromJson(运行工具({"shown", 副本(1)})).object();
    for (int i = 0; i < cases.size(); ++i) {
        if (cases[i].type != QLatin1String("s"))
            continue;
        const QString ref = QChar(u'B' + cases[i].col) + QString::number(i + 9);
        const QString expected = cases[i].shown.isNull() ? cases[i].v.toString() : cases[i].shown;
        QVERIFY2(shown[ref].toString() == expected,
                 qPrintable(ref + ": " + shown[ref].toString().left(40)));
    }
}

void TestExport::freeNames_data() {
    QTest::addColumn<QList<int>>("present");
    QTest::addColumn<int>("expected");
    QTest::newRow("none") << QList<int>{} << 1;
    QTest::newRow("1") << QList<int>{1} << 2;
    QTest::newRow("1 and 3") << QList<int>{1, 3} << 2;
    QTest::newRow("2 only") << QList<int>{2} << 1;
    QTest::newRow("1 to 99") << [] {
        QList<int> l;
        for (int n = 1; n < 100; ++n)
            l << n;
        return l;
    }() << 100;
}

void TestExport::freeNames() {
    QFETCH(QList<int>, present);
    QFETCH(int, expected);
    for (int n : present)
        建文件(副本(n), "x");
    输出电子表格(*债权表({{"甲"}}), QStringLiteral("说明"));
    QCOMPARE(opened, QStringList{副本(expected)});
    QCOMPARE(格(读表(副本(expected)), "B9")["v"].toString(), QStringLiteral("甲"));
    for (int n : present)
        QCOMPARE(QFileInfo(副本(n)).size(), 1);
}

void TestExport::failures_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("template missing") << "missing";
    QTest::newRow("template a text file") << "text";
    QTest::newRow("template a zip without a workbook") << "zip";
    QTest::newRow("template empty") << "empty";
    QTest::newRow("worksheet not as its checksum") << "sheet-crc";
    QTest::newRow("styles not as their checksum") << "styles-crc";
    QTest::newRow("worksheet in UTF-16") << "utf16";
    QTest::newRow("calculation chain at the worksheet") << "chain-sheet";
    QTest::newRow("calculation chain at the relationships") << "chain-rels";
    QTest::newRow("all 100 names taken") << "full";
    QTest::newRow("folder read-only") << "readonly";
    QTest::newRow("copy written wrong") << "badcopy";
}

void TestExport::failures() {
    QFETCH(QString, kind);
    const QString shown = QDir::toNativeSeparators(模板());
    QString expected = shown + QStringLiteral(" 不是可用的电子表格模板。");
    if (kind == u"missing") {
        QFile::remove(模板());
        expected = QStringLiteral("找不到电子表格模板 ") + shown + QStringLiteral("。");
    } else if (kind == u"text") {
        QFile::remove(模板());
        建文件(模板(), "案款分配表\n");
    } else if (kind == u"zip") {
        QFile::remove(模板());
        运行工具({"zip", 模板()});
    } else if (kind == u"empty") {
        QFile::remove(模板());
        建文件(模板());
    } else if (kind.startsWith(u"sheet-") || kind.startsWith(u"styles-") || kind == u"utf16" ||
               kind.startsWith(u"chain-")) {
        QFile::remove(模板());
        运行工具({"damage", kind, 原模板, 模板()});
        const QString part = kind.startsWith(u"styles") ? QStringLiteral("xl/styles.xml")
                             : kind == u"chain-rels" ? QStringLiteral("xl/_rels/workbook.xml.rels")
                                                     : QStringLiteral("xl/worksheets/sheet1.xml");
        const QString 模板名 = QStringLiteral("电子表格模板 ") + shown;
        expected = kind.endsWith(u"-crc") ? 模板名 + QStringLiteral(" 已损坏：其中的 ") + part +
                                                QStringLiteral(" 读不出来，或与它的校验和不符。")
                   : kind == u"utf16" ? 模板名 + QStringLiteral(" 中的 ") + part +
                                            QStringLiteral(" 不是 UTF-8 编码的，不能使用。")
                                      : 模板名 + QStringLiteral(" 已损坏：它的计算链关系指向的 ") +
                                            part + QStringLiteral(" 不是计算链。");
    } else if (kind == u"full") {
        for (int n = 1; n <= 100; ++n)
            建文件(副本(n));
        expected = QStringLiteral("文件夹 ") + QDir::toNativeSeparators(dir->path()) +
                   QStringLiteral(
                       " 中已有 100 个案款分配表，不能再输出。请关闭这些表格，再重新打开本窗口。");
    } else {
        // A folder that refuses the copy, or a copy that comes out unreadable: either way the
        // copy cannot be made, and its temporary file must not stay.
        if (kind == u"readonly")
            模板复制器() = [](const QString &, const QString &) { return false; };
        else
            模板复制器() = [](const QString &, const QString &to) {
                建文件(to, "PK\x03\x04 cut short");
                return true;
            };
        expected = QStringLiteral("不能写入文件 ") + QDir::toNativeSeparators(副本(1)) +
                   QStringLiteral("。");
    }
    const QStringList filesBefore = QDir(dir->path()).entryList(QDir::Files | QDir::Hidden);
    const QByteArray templateBefore = 摘要(模板());
    QCOMPARE(导出并取错误(*债权表({{"甲", "1"}}), QStringLiteral("说明")), expected);
    QVERIFY(opened.isEmpty());
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), filesBefore);
    QCOMPARE(摘要(模板()), templateBefore);
}

void TestExport::openerFails() {
    openSucceeds = false;
    QCOMPARE(导出并取错误(*债权表({{"甲", "1"}}), QStringLiteral("说明")),
             QStringLiteral("已输出到 ") + QDir::toNativeSeparators(副本(1)) +
                 QStringLiteral("，但不能打开它。请用电子表格程序打开这个文件；"
                                "如果这台电脑上还没有电子表格程序，请先安装一个。"));
    // The copy is complete and stays for the window's purge.
    QCOMPARE(格(读表(副本(1)), "B5")["v"].toString(), QStringLiteral("说明"));
    QCOMPARE(QDir(dir->path()).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());
}

void TestExport::libreOfficeTemplate() {
    QFile::remove(模板());
    QVERIFY(QFile::copy(QStringLiteral(OUTPUT_TEST_DIR "/akfpb_libreoffice.xlsx"), 模板()));
    输出电子表格(*债权表({{"甲", "100.5", "工资", "", "100.5", "备注"}, {"乙", "20"}}),
                 QStringLiteral("两行"));
    const QJsonObject t = 读表(副本(1));
    QCOMPARE(格(t, "B5")["v"].toString(), QStringLiteral("两行"));
    QCOMPARE(格(t, "B8")["v"].toString(), 表头[0]); // a shared string of the template
    QCOMPARE(格(t, "B2")["v"].toString(), QStringLiteral("案款分配表"));
    QCOMPARE(格(t, "C9")["v"].toDouble(), 100.5);
    QCOMPARE(格(t, "C10")["v"].toDouble(), 20.0);
    QCOMPARE(格(t, "C10")["fmt"].toString(), QStringLiteral("#,##0.00"));
    QCOMPARE(格(t, "D10")["fmt"].toString(), QStringLiteral("@"));
    QCOMPARE(格(t, "G10")["border"].toString(), QStringLiteral("thin thin thin thin"));
    QCOMPARE(格(t, "G9")["v"].toString(), QStringLiteral("备注"));
    QVERIFY(!有格(t, "B11"));
    QCOMPARE(t["merged"].toArray(), (QJsonArray{"B2:G2", "B5:G7"}));
}

void TestExport::firstSheetThroughRelationships() {
    QFile::remove(模板());
    运行工具({"variant", 原模板, 模板()});
    输出电子表格(*债权表({{"甲", "5"}}), QStringLiteral("说明"));
    const QJsonObject first = 读表(副本(1), 0);
    QCOMPARE(first["title"].toString(), QStringLiteral("案款分配表"));
    QCOMPARE(格(first, "B9")["v"].toString(), QStringLiteral("甲"));
    QCOMPARE(格(first, "C9")["v"].toDouble(), 5.0);
    QCOMPARE(格(first, "C9")["fmt"].toString(), QStringLiteral("#,##0.00"));
    QCOMPARE(格(first, "B5")["v"].toString(), QStringLiteral("说明"));
    const QJsonObject second = 读表(副本(1), 1);
    QCOMPARE(格(second, "B9")["v"].toString(), QStringLiteral("旧"));
    QVERIFY(!有格(second, "C9") && !有格(second, "B5"));
}

void TestExport::overwrittenFormulaLeavesNoCalculationChain() {
    QFile::remove(模板());
    运行工具({"formula", 原模板, 模板()});
    const QJsonObject before = 读表(模板());
    QCOMPARE(格(before, "C9")["t"].toString(), QStringLiteral("f"));
    QVERIFY(before["parts"].toArray().contains("xl/calcChain.xml"));
    输出电子表格(*债权表({{"甲", "5"}}), QStringLiteral("说明"));
    const QJsonObject t = 读表(副本(1));
    QCOMPARE(格(t, "C9")["v"].toDouble(), 5.0);
    QCOMPARE(格(t, "C9")["t"].toString(), QStringLiteral("n"));
    QVERIFY(!t["parts"].toArray().contains("xl/calcChain.xml"));
    QVERIFY(!t["overrides"].toArray().contains("/xl/calcChain.xml"));
    QVERIFY(!t["relTargets"].toArray().contains("calcChain.xml"));
    // Programs recognise a workbook by its first entry.
    QCOMPARE(t["firstPart"].toString(), QStringLiteral("[Content_Types].xml"));
    // Everything else of the package is still there.
    QStringList parts = before["parts"].toVariant().toStringList();
    parts.removeOne(QStringLiteral("xl/calcChain.xml"));
    QCOMPARE(t["parts"].toVariant().toStringList(), parts);
}

void TestExport::purgeLeavesOtherFiles() {
    for (int n = 1; n <= 101; ++n) {
        建文件(副本(n));
        记下副本(副本(n));
    }
    建文件(目录() + QStringLiteral("案款分配表.xlsx"));
    建文件(目录() + QStringLiteral("案款分配表1.xls"));
    清除残留表(目录());
    QStringList left = QDir(dir->path()).entryList(QDir::Files);
    left.sort();
    QCOMPARE(left, (QStringList{"akfpb.xlsx", "案款分配表.xlsx", "案款分配表1.xls",
                                "案款分配表101.xlsx"}));
}

void TestExport::changedCopiesStay_data() {
    QTest::addColumn<bool>("nextRun");
    QTest::newRow("same run") << false;
    // A later run knows the copies from the list file beside them only.
    QTest::newRow("next run") << true;
}

void TestExport::changedCopiesStay() {
    QFETCH(bool, nextRun);
    for (int n = 1; n <= 5; ++n)
        输出电子表格(*债权表({{"甲"}}), QStringLiteral("说明"));
    建文件(副本(2), "saved by the clerk");
    {
        // Saved again with the same size: only the time tells.
        QFile same(副本(3));
        QVERIFY(same.open(QIODevice::ReadWrite));
        const QDateTime time = QFileInfo(same).lastModified().addSecs(-60);
        QVERIFY(same.setFileTime(time, QFileDevice::FileModificationTime));
    }
    const QString lock4 = QStringLiteral(".~lock.案款分配表4.xlsx#");
    建文件(目录() + lock4);
    建文件(副本(6), "a file the export did not write");
    QString folder = 目录();
    QTemporaryDir later;
    if (nextRun) {
        folder = 加尾分隔符(later.path());
        for (const QFileInfo &f : QDir(dir->path()).entryInfoList(QDir::Files | QDir::Hidden)) {
            const QString to = folder + f.fileName();
            QVERIFY(QFile::copy(f.filePath(), to));
            QFile copied(to);
            QVERIFY(copied.open(QIODevice::ReadWrite));
            QVERIFY(copied.setFileTime(f.lastModified(), QFileDevice::FileModificationTime));
        }
    }
    const auto present = [&folder] {
        QList<int> numbers;
        for (int n = 1; n <= 7; ++n)
            if (QFile::exists(表格文件名(folder, n)))
                numbers << n;
        return numbers;
    };
    清除残留表(folder);
    QCOMPARE(present(), (QList<int>{2, 3, 4, 6}));
    QCOMPARE(空闲表名(folder), 表格文件名(folder, 1));
    // Once the spreadsheet program has closed copy 4, the next purge takes it; the changed
    // copies stay on every purge.
    QVERIFY(QFile::remove(folder + lock4));
    清除残留表(folder);
    QCOMPARE(present(), (QList<int>{2, 3, 6}));
    QCOMPARE(QFile(表格文件名(folder, 2)).size(), 18);
}

void TestExport::windowCommand() {
    BoxAnswerer boxes;
    auto *w = new Fo案款分配计算;
    w->show();
    w->MSFjk->setTextMatrix(1, 1, QStringLiteral("600"));
    w->MSFzc->setRows(3);
    w->MSFzc->setTextMatrix(1, 0, QStringLiteral("甲公司"));
    w->MSFzc->setTextMatrix(1, 1, QStringLiteral("1000"));
    w->MSFzc->setTextMatrix(1, 2, QStringLiteral("一般债权"));
    w->分配计算();
    QVERIFY(!w->分配说明().isEmpty());
    恢复内容 named = w->当前恢复内容();
    named.案件号 = 3;
    named.案件名称 = QStringLiteral("（2024）京0105执1号");
    w->接过恢复内容(named);
    child<QAction>(w, "输出到电子表格")->trigger();
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(opened, QStringList{副本(1)});
    const QJsonObject t = 读表(副本(1));
    QCOMPARE(格(t, "C3")["v"].toString(), named.案件名称);
    QCOMPARE(格(t, "B5")["v"].toString(), QString(w->分配说明()).replace("\r\n", "\n"));
    QCOMPARE(格(t, "B9")["v"].toString(), QStringLiteral("甲公司"));
    QCOMPARE(格(t, "C9")["v"].toDouble(), 1000.0);
    QCOMPARE(格(t, "F9")["v"].toDouble(), 600.0);
    // The window's blank entry row is not written; the totals follow the claim, as numbers.
    QCOMPARE(格(t, "B10")["v"].toString(), QStringLiteral("合计"));
    const std::pair<const char *, double> totals[] = {{"C10", 1000.0}, {"E10", 0.0}, {"F10", 600.0}};
    for (const auto &[cell, total] : totals) {
        QCOMPARE(格(t, cell)["t"].toString(), QStringLiteral("n"));
        QCOMPARE(格(t, cell)["v"].toDouble(), total);
    }
    QVERIFY(!有格(t, "B11"));
    // A second export takes the next number; closing the window removes both copies.
    child<QAction>(w, "输出到电子表格")->trigger();
    QCOMPARE(opened, (QStringList{副本(1), 副本(2)}));
    关闭不保存(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!QFile::exists(副本(1)) && !QFile::exists(副本(2)));
    QVERIFY(QFile::exists(模板()));
}

void TestExport::windowShowsFailure() {
    BoxAnswerer boxes;
    auto *w = new Fo案款分配计算;
    w->show();
    QFile::remove(模板());
    child<QAction>(w, "输出到电子表格")->trigger();
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("找不到电子表格模板 ") +
                                      QDir::toNativeSeparators(模板()) + QStringLiteral("。")});
    QCOMPARE(boxes.titles, QStringList{QStringLiteral("Varnel")});
    QVERIFY(w->isVisible());
    QVERIFY(opened.isEmpty());
    关闭不保存(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int runExportTests(int argc, char **argv) {
    TestExport t;
    return QTest::qExec(&t, argc, argv) + runSheetXmlTests(argc, argv);
}

#include "test_export.moc"
