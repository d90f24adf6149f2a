// The distribution plan document: the pristine template, a case filled into it and read back with
// python-docx and with LibreOffice (tests/output/docx_tool.py), a template as Word saves it, every
// template that must be refused, and the window's command with its dialog, file and opener.
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/date_text.h"
#include "common/grid.h"
#include "common/varnel_error.h"
#include "host_path.h"
#include "output/docx_fill.h"
#include "casefund/plan_document.h"
#include "output/saved_file.h"
#include "typing.h"
#include "window_test.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString 工具 = QStringLiteral(OUTPUT_TEST_DIR "/docx_tool.py");
const QString 原模板 = QStringLiteral(VARNEL_PLAN_TEMPLATE_FILE);
const QString 法院 = QStringLiteral("北京市朝阳区人民法院");

QByteArray 运行工具(const QStringList &args) {
    const HostRun run = runOnHost(QStringLiteral(VARNEL_PYTHON3), QStringList{工具} + args, {},
                                  180000);
    if (run.exitCode != 0)
        qWarning("docx_tool %s failed: %s", qPrintable(args.join(u' ')), run.err.constData());
    return run.out;
}

QJsonObject 读文档(const QString &file) {
    return QJsonDocument::fromJson(运行工具({"read", file})).object();
}

QStringList 段落文字(const QJsonObject &doc) {
    QStringList texts;
    for (const QJsonValue &p : doc["paragraphs"].toArray())
        texts << p["text"].toString();
    return texts;
}

QList<QStringList> 表(const QJsonObject &doc, int n) {
    QList<QStringList> rows;
    for (const QJsonValue &r : doc["tables"].toArray()[n].toArray())
        rows << r.toVariant().toStringList();
    return rows;
}

void 写文件(const QString &path, const QByteArray &content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// A case as the window holds it: payments and claims (the allocations as the distribution wrote
// them, a creditor without an amount yet, a blank row and a row with a remark only, which the
// document leaves out).
struct 案例 {
    QList<QStringList> 交款, 债权;
    QString 说明;
};

const QString 说明A = QStringLiteral("已交案款：100000元，债权总额：145000元（总比例68.97%）。\r\n"
                                     "分配案款中：一般债权5000元(10%)");

案例 短缺案例() {
    return {{{"甲公司", "60000", "2024/3/1", ""}, {"乙", "40,000 ", "2024/3/5", "现金"}, {"", "", "", ""}},
            {{"区法院", "5000", "诉讼费用", "", "5000", ""},
             {"某银行", "80000", "抵押", "60000", "62000", "房产"},
             {"职工", "20000", "工资", "", "20000", ""},
             {"税务局", "10000", "税款", "", "10000", ""},
             {"张三  ", "30000", "一般债权", "", "3000", "身份证号110101199003071234"},
             {"李四", "", "一般债权", "", "0", ""},
             {"", "", "", "", "0", "只有备注"},
             {"", "", "", "", "0", ""}},
            说明A};
}

案例 余款案例() {
    return {{{"甲", "1200.5", "2024/5/6", ""}},
            {{"区法院", "1000", "诉讼费用", "", "1000", ""}},
            QStringLiteral("已交案款：1200.5元，债权总额：1000元（总比例100%）。\r\n分配案款中：诉讼费用"
                           "1000元(100%)，\r\n余款200.5归还交款人。")};
}

const QList<QStringList> 短缺债权行 = {
    {"序号", "债权人", "债权金额", "债权性质", "其中抵押优先金额", "分配金额", "备注"},
    {"1", "区法院", "5,000.00", "诉讼费用", "", "5,000.00", ""},
    {"2", "某银行", "80,000.00", "抵押", "60,000.00", "62,000.00", "房产"},
    {"3", "职工", "20,000.00", "工资", "", "20,000.00", ""},
    {"4", "税务局", "10,000.00", "税款", "", "10,000.00", ""},
    {"5", "张三", "30,000.00", "一般债权", "", "3,000.00", "身份证号110101199003071234"},
    {"6", "李四", "", "一般债权", "", "0.00", ""},
    {"合计", "145,000.00", "", "", "100,000.00", ""},
    {"分配合计（大写）", "壹拾万元整"}};

// A save file that cannot be opened, as in a read-only folder.
struct ClosedSaveFile : QSaveFile {
    using QSaveFile::QSaveFile;
    bool open(OpenMode) override { return false; }
};

} // namespace

class TestPlanDocument : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void templateIsAPlainCourtDocument();
    void caseFilledIn_data();
    void caseFilledIn();
    void wordTemplateWithSplitRuns();
    void numberAndExplanation_data();
    void numberAndExplanation();
    void longCaseKeepsItsRowsTogether();
    void badTemplates_data();
    void badTemplates();
    void findings_data();
    void findings();
    void windowCommand();
    void refusedEntryFirst();
    void failuresAfterTheDialog_data();
    void failuresAfterTheDialog();

  private:
    QString 模板() const { return 加尾分隔符(appDir->path()) + 方案模板文件名; }
    // Fills the case into the application directory's template, through the command.
    QString 输出(const 案例 &c, const QString &案件名 = QStringLiteral("张三诉李四案")) {
        return 输出分配方案(nullptr, c.交款, c.债权, c.说明, 案件名);
    }

    std::unique_ptr<QTemporaryDir> appDir, outDir;
    std::unique_ptr<BoxAnswerer> guard;
    QString suggested, answer;
    int asked = 0;
    QStringList opened;
    bool openSucceeds = true;
};

void TestPlanDocument::init() {
    appDir = std::make_unique<QTemporaryDir>();
    outDir = std::make_unique<QTemporaryDir>();
    设应用目录(加尾分隔符(appDir->path()));
    QVERIFY(QFile::copy(原模板, 模板()));
    写文件(appDir->filePath("varnel.ini"), ("[office]\ncourt=" + 法院 + "\n").toUtf8());
    answer = outDir->filePath(QStringLiteral("方案.docx"));
    asked = 0;
    设文件名询问([this](QWidget *, const QString &suggestion) {
        ++asked;
        suggested = suggestion;
        return answer;
    });
    opened.clear();
    openSucceeds = true;
    文件打开器() = [this](const QString &path) {
        opened << path;
        return openSucceeds;
    };
    guard = std::make_unique<BoxAnswerer>();
}

void TestPlanDocument::cleanup() {
    设文件名询问({});
    设保存文件来源({});
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
}

void TestPlanDocument::templateIsAPlainCourtDocument() {
    const QJsonObject t = 读文档(原模板);
    QCOMPARE(t["page"].toArray(), (QJsonArray{210, 297}));
    QCOMPARE(t["margins"].toArray(), (QJsonArray{37, 35, 28, 26}));
    QCOMPARE(t["defaults"]["eastAsia"].toString(), QStringLiteral("仿宋_GB2312"));
    QCOMPARE(t["defaults"]["size"].toDouble(), 16.0);
    QVERIFY(t["styles"]["小标题"]["bold"].toBool());
    QVERIFY(t["styles"]["Title"]["bold"].toBool());
    QCOMPARE(t["styles"]["Title"]["size"].toDouble(), 22.0);
    QCOMPARE(t["styles"]["表格文字"]["size"].toDouble(), 12.0);
    const QStringList texts = 段落文字(t);
    QCOMPARE(texts.mid(0, 3), (QStringList{"«法院名称»", "执行款分配方案", "«案号»"}));
    for (const char *text : {"案件名称：«案件名称»", "«分配说明»", "已交执行款超过债权总额，余款«余款»元退还交款人。",
                             "债权人或者被执行人对本分配方案有异议的，可以自收到本分配方案之日起十五日内向本院提出书面异议。"})
        QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
    QCOMPARE(texts.mid(texts.size() - 2), (QStringList{"«法院名称»", "«日期»"}));
    QCOMPARE(t["paragraphs"].toArray().last()["style"].toString(), QStringLiteral("落款"));
    QCOMPARE(表(t, 0)[0], 短缺债权行[0]);
    QCOMPARE(表(t, 1)[0], (QStringList{"序号", "交款人", "金额", "交款时间"}));
}

void TestPlanDocument::caseFilledIn_data() {
    QTest::addColumn<bool>("surplus");
    QTest::newRow("money short of the claims") << false;
    QTest::newRow("money left over") << true;
}

void TestPlanDocument::caseFilledIn() {
    QFETCH(bool, surplus);
    QCOMPARE(输出(surplus ? 余款案例() : 短缺案例()), answer);
    QCOMPARE(suggested, 文档文件夹() + QStringLiteral("/分配方案张三诉李四案.docx"));
    QCOMPARE(opened, QStringList{answer});
    const QJsonObject d = 读文档(answer);
    const QStringList texts = 段落文字(d);
    QCOMPARE(texts.mid(0, 4), (QStringList{法院, "执行款分配方案", "（　　　　）　　　　执　　　　号",
                                           "案件名称：张三诉李四案"}));
    const QStringList note =
        surplus ? QStringList{"已交案款：1,200.50元，债权总额：1,000.00元（总比例100.00%）。",
                              "分配案款中：诉讼费用1,000.00元（100.00%）。", "余款200.50元归还交款人。"}
                : QStringList{"已交案款：100,000.00元，债权总额：145,000.00元（总比例68.97%）。",
                              "分配案款中：诉讼费用5,000.00元（100.00%），抵押物优先权：60,000.00元"
                              "（100.00%），工资和劳动保险20,000.00元（100.00%），税款10,000.00元"
                              "（100.00%），一般债权5,000.00元（10.00%）。"};
    QCOMPARE(texts.mid(4, note.size()), note);
    QCOMPARE(texts[4 + note.size()], QStringLiteral("一、债权及分配金额"));
    QCOMPARE(texts.mid(texts.size() - 2), (QStringList{法院, 中文日期(QDate::currentDate())}));
    QCOMPARE(texts.contains(QStringLiteral("已交执行款超过债权总额，余款200.50元退还交款人。")), surplus);
    QVERIFY(!texts.join(QString()).contains(QStringLiteral("余款«")));
    if (surplus) {
        QCOMPARE(表(d, 0).mid(1), (QList<QStringList>{{"1", "区法院", "1,000.00", "诉讼费用", "", "1,000.00", ""},
                                                      {"合计", "1,000.00", "", "", "1,000.00", ""},
                                                      {"分配合计（大写）", "壹仟元整"}}));
        QCOMPARE(表(d, 1).mid(1), (QList<QStringList>{{"1", "甲", "1,200.50", "2024/5/6"},
                                                      {"合计", "1,200.50", ""}}));
        return;
    }
    QCOMPARE(表(d, 0), 短缺债权行);
    QCOMPARE(表(d, 1).mid(1), (QList<QStringList>{{"1", "甲公司", "60,000.00", "2024/3/1"},
                                                  {"2", "乙", "40,000.00", "2024/3/5"},
                                                  {"合计", "100,000.00", ""}}));
    // LibreOffice, as a clerk on Linux opens it, reads the same document.
    const QString pdf = QString::fromUtf8(运行工具({"pdftext", answer}));
    for (const QString &text : {法院, QStringLiteral("执行款分配方案"), QStringLiteral("某银行"),
                                QStringLiteral("62,000.00"), QStringLiteral("壹拾万元整"),
                                QStringLiteral("十五日内向本院提出书面异议"), 中文日期(QDate::currentDate())})
        QVERIFY2(pdf.contains(text), qPrintable(text + "\n" + pdf));
}

// A template made by another program, with its fields broken into runs of other formatting and
// in the header and footer; and one without any table.
void TestPlanDocument::wordTemplateWithSplitRuns() {
    QFile::remove(模板());
    运行工具({"word", 模板()});
    案例 paidInFull = 短缺案例();
    paidInFull.交款 = {{"甲公司", "145000", "", ""}}; // exactly the claims: no surplus sentence
    QCOMPARE(输出(paidInFull), answer);
    const QJsonObject d = 读文档(answer);
    QCOMPARE(d["header"].toArray(), QJsonArray{"案号：张三诉李四案"});
    QCOMPARE(d["footer"].toArray(), QJsonArray{法院 + "第1页"});
    const QJsonObject title = d["paragraphs"].toArray()[0].toObject();
    QCOMPARE(title["text"].toString(), 法院 + "执行款分配方案");
    QVERIFY(title["bold"].toBool()); // the first run of the field keeps its formatting
    QCOMPARE(title["size"].toDouble(), 22.0);
    // The explanation's second line is a paragraph of its own, which the rest of the template's
    // paragraph follows.
    QCOMPARE(段落文字(d).mid(1),
             (QStringList{"说明：已交案款：145,000.00元，债权总额：145,000.00元（总比例100.00%）。",
                          "分配案款中：诉讼费用5,000.00元（100.00%），抵押物优先权：60,000.00元"
                          "（100.00%），工资和劳动保险20,000.00元（100.00%），税款10,000.00元"
                          "（100.00%），一般债权50,000.00元（100.00%）。。«未知字段»留着",
                          "壹拾万元整。"}));
    QCOMPARE(表(d, 0), (QList<QStringList>{{"债权人", "分配金额", "合计"},
                                           {"1. 区法院", "5,000.00", "张三诉李四案"},
                                           {"2. 某银行", "62,000.00", "张三诉李四案"},
                                           {"3. 职工", "20,000.00", "张三诉李四案"},
                                           {"4. 税务局", "10,000.00", "张三诉李四案"},
                                           {"5. 张三", "3,000.00", "张三诉李四案"},
                                           {"6. 李四", "0.00", "张三诉李四案"},
                                           {"", "100,000.00", ""}}));

    QFile::remove(模板());
    运行工具({"plain", 模板()});
    QFile::remove(answer);
    QCOMPARE(输出(短缺案例()), answer);
    // A claim field outside a claim row is no field of the document: it stays as written.
    QCOMPARE(段落文字(读文档(answer)), (QStringList{法院, "«债权人»：100,000.00（壹拾万元整）"}));
}

// The number line and the explanation as a court writes them, each line a paragraph of the
// template's indented body style.
void TestPlanDocument::numberAndExplanation_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QStringList>("explanation");
    const QStringList general{"已交案款：1,735,000.50元，债权总额：3,651,234.00元（总比例47.52%）。",
                              "分配案款中：一般债权1,735,000.50元（47.52%）。"};
    QTest::newRow("full-width brackets")
        << "（2024）京0105执123号 某公司案" << "（2024）京0105执123号" << general;
    QTest::newRow("ASCII brackets, up to the first 号")
        << "某公司(2023)京0105执恢4号之一号" << "（2023）京0105执恢4号" << general;
    QTest::newRow("a two-digit year is no number")
        << "(24)京0105执1号" << "（　　　　）　　　　执　　　　号" << general;
    QTest::newRow("no number") << "某公司案" << "（　　　　）　　　　执　　　　号" << general;
}

void TestPlanDocument::numberAndExplanation() {
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QStringList, explanation);
    const 案例 c{{{"甲", "1735000.5", "", ""}}, {{"乙", "3651234", "一般债权", "", "1735000.5", ""}}, {}};
    QCOMPARE(输出(c, name), answer);
    const QJsonArray paragraphs = 读文档(answer)["paragraphs"].toArray();
    QCOMPARE(paragraphs[2]["text"].toString(), number);
    for (int k = 0; k < explanation.size(); ++k) {
        QCOMPARE(paragraphs[4 + k]["text"].toString(), explanation[k]);
        QCOMPARE(paragraphs[4 + k]["style"].toString(), QStringLiteral("正文首行缩进"));
    }
    QCOMPARE(paragraphs[4 + explanation.size()]["text"].toString(), QStringLiteral("一、债权及分配金额"));
}

// 40 claims above a hundred million: the header row repeats, no row splits, the last claim, 合计
// and the capitals stay on one page, and LibreOffice lays no amount over two lines.
void TestPlanDocument::longCaseKeepsItsRowsTogether() {
    案例 c;
    for (int k = 1; k <= 4; ++k)
        c.交款 << QStringList{QStringLiteral("交款人%1").arg(k), "750000000", "2024/3/1", ""};
    for (int k = 1; k <= 40; ++k)
        c.债权 << QStringList{QStringLiteral("债权人%1").arg(k), "123456789.12", "一般债权", "",
                              "75000000", ""};
    QCOMPARE(输出(c, QStringLiteral("（2024）京0105执1号")), answer);
    const QJsonObject d = 读文档(answer);
    QStringList marks = d["rowMarks"].toArray()[0].toVariant().toStringList();
    QCOMPARE(marks.size(), 1 + 40 + 2);
    QCOMPARE(marks.takeFirst(), QStringLiteral("hs"));
    QCOMPARE(marks.takeLast(), QStringLiteral("s"));    // 分配合计（大写）
    QCOMPARE(marks.takeLast(), QStringLiteral("sk"));   // 合计
    QCOMPARE(marks.takeLast(), QStringLiteral("sk"));   // the last claim
    QCOMPARE(marks, QStringList(39, QStringLiteral("s")));
    const QStringList pages = QString::fromUtf8(运行工具({"pdftext", answer})).split(u'\f');
    const QString text = pages.join(QString());
    QCOMPARE(text.count(QStringLiteral("123,456,789.12")), 40);
    QCOMPARE(text.count(QStringLiteral("75,000,000.00")), 40);
    QCOMPARE(text.count(QStringLiteral("750,000,000.00")), 4);
    QVERIFY(text.contains(QStringLiteral("4,938,271,564.80")));
    QVERIFY(text.contains(QStringLiteral("3,000,000,000.00")));
    const auto page = [&](const QString &what) {
        for (int p = 0; p < pages.size(); ++p)
            if (pages[p].contains(what))
                return p;
        return -1;
    };
    // The capitals share their page with claims; the header row heads that page too.
    const int last = page(QStringLiteral("分配合计（大写）"));
    QVERIFY(last > 0);
    QVERIFY(pages[last].contains(QStringLiteral("123,456,789.12")));
    QCOMPARE(pages[last].count(QStringLiteral("债权金额")), 1);
}

void TestPlanDocument::badTemplates_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message"); // %1: the template's file
    const QString unusable = QStringLiteral("%1 不是可用的分配方案模板。");
    QTest::newRow("missing") << "missing" << "找不到分配方案模板 %1。";
    QTest::newRow("a text file") << "text" << unusable;
    QTest::newRow("empty") << "empty" << unusable;
    QTest::newRow("a zip without a document") << "zip" << unusable;
    QTest::newRow("no document part") << "nodocument" << unusable;
    QTest::newRow("document not as its checksum")
        << "crc" << "分配方案模板 %1 已损坏：其中的 word/document.xml 读不出来，或与它的校验和不符。";
    QTest::newRow("document in UTF-16")
        << "utf16" << "分配方案模板 %1 中的 word/document.xml 不是 UTF-8 编码的，不能使用。";
}

void TestPlanDocument::badTemplates() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QFile::remove(模板());
    if (kind == u"text")
        写文件(模板(), "执行款分配方案\n");
    else if (kind == u"empty")
        写文件(模板(), {});
    else if (kind == u"zip")
        运行工具({"zip", 模板()});
    else if (kind != u"missing")
        运行工具({"damage", kind, 原模板, 模板()});
    const QByteArray before = [this] {
        QFile f(模板());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    BoxAnswerer boxes;
    QCOMPARE(输出(短缺案例()), QString());
    QCOMPARE(boxes.texts, QStringList{message.arg(QDir::toNativeSeparators(模板()))});
    QCOMPARE(asked, 0); // refused before the dialog
    QVERIFY(opened.isEmpty());
    QCOMPARE(QDir(outDir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QFile f(模板());
    QCOMPARE(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(), before);
}

// The fuzzers' templates (tests/output/findings), filled with a=x, no claims and «余款» left out,
// and read back: a document word processors open, or the template refused with its message.
// Under the sanitizers no freed memory is used and no stack overflows.
void TestPlanDocument::findings_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("paragraphs"); // the body's
    QTest::addColumn<QStringList>("rows");       // the text of every table row
    QTest::addColumn<QString>("refused");        // %1: the template
    const auto row = [](const char *file, const QStringList &paragraphs, const QStringList &rows,
                        const QString &refused = {}) {
        QTest::newRow(file) << QString::fromUtf8(file) << paragraphs << rows << refused;
    };
    row("docx_textbox_drop_use_after_free.docx", {"keep"}, {});
    row("docx_textbox_drop_small.docx", {"keep"}, {});
    row("docx_paragraph_in_tbl_drop_use_after_free.docx", {"", "keep"}, {});
    row("docx_deep_nesting_stack_overflow.docx", {}, {},
        "分配方案模板 %1 中的 word/document.xml 有超过 500 层的嵌套，"
        "不像文字处理程序写的文档，不能使用。");
    row("docx_many_fields_quadratic.docx", {QString(60000, u'x')}, {});
    row("docx_sdt_rows_table_lost.docx", {""}, {"标题行"});
    row("docx_cell_left_without_paragraph.docx", {""}, {""});
    row("docx_header_left_empty.docx", {"body"}, {});
}

void TestPlanDocument::findings() {
    QFETCH(QString, file);
    QFETCH(QStringList, paragraphs);
    QFETCH(QStringList, rows);
    QFETCH(QString, refused);
    const QString path = QStringLiteral(OUTPUT_TEST_DIR "/findings/") + file;
    文书字段 fields;
    fields.全文 = {{"a", "x"}};
    fields.重复 = {{{"债权人"}, {}}};
    fields.去段 = {"余款"};
    QByteArray document;
    try {
        document = 填写文书(path, QStringLiteral("分配方案模板"), fields);
    } catch (const VarnelError &e) {
        QCOMPARE(e.description(), refused.arg(QDir::toNativeSeparators(path)));
        return;
    }
    QVERIFY(refused.isEmpty());
    const QString filled = outDir->filePath(QStringLiteral("filled.docx"));
    写文件(filled, document);
    const QJsonObject d = 读文档(filled);
    QCOMPARE(段落文字(d), paragraphs);
    QCOMPARE(d["rows"].toVariant().toStringList(), rows);
    QCOMPARE(d["bare"].toArray(), QJsonArray()); // no cell, header or text box without a paragraph
}

// The window's command: the stored case's name in the suggested name, the summary as the window
// shows it, every claim of the table; a cancelled dialog writes nothing.
void TestPlanDocument::windowCommand() {
    auto *w = new Fo案款分配计算;
    w->show();
    w->MSFjk->setTextMatrix(1, 0, QStringLiteral("甲"));
    w->MSFjk->setTextMatrix(1, 1, QStringLiteral("3000"));
    w->MSFzc->setRows(5);
    for (int r = 1; r <= 3; ++r) {
        w->MSFzc->setTextMatrix(r, 0, QStringLiteral("债权人%1").arg(r));
        w->MSFzc->setTextMatrix(r, 1, QStringLiteral("2000"));
        w->MSFzc->setTextMatrix(r, 2, QStringLiteral("一般债权"));
    }
    w->分配计算();
    恢复内容 named = w->当前恢复内容();
    named.案件号 = 7;
    named.案件名称 = QStringLiteral("甲诉乙案");
    w->接过恢复内容(named);
    const QString screen = child<QLabel>(w, "Label4")->text();
    child<QAction>(w, "输出分配方案")->trigger();
    QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("分配方案甲诉乙案.docx"));
    QCOMPARE(opened, QStringList{answer});
    QCOMPARE(w->statusBar()->currentMessage(), "已保存：" + QDir::toNativeSeparators(answer));
    const QJsonObject d = 读文档(answer);
    QCOMPARE(段落文字(d)[3], QStringLiteral("案件名称：甲诉乙案"));
    // The document states the window's distribution in the court's form; the screen keeps its own.
    QCOMPARE(段落文字(d).mid(4, 2),
             (QStringList{"已交案款：3,000.00元，债权总额：6,000.00元（总比例50.00%）。",
                          "分配案款中：一般债权3,000.00元（50.00%）。"}));
    QCOMPARE(child<QLabel>(w, "Label4")->text(), screen);
    QCOMPARE(screen, QStringLiteral("已交案款：3000元，债权总额：6000元（总比例50%）。\r\n"
                                    "分配案款中：一般债权3000元(50%)"));
    // Without a court in the settings the status line says where to set it.
    写文件(appDir->filePath("varnel.ini"), "[office]\n");
    QFile::remove(answer);
    child<QAction>(w, "输出分配方案")->trigger();
    QCOMPARE(w->statusBar()->currentMessage(),
             "已保存：" + QDir::toNativeSeparators(answer) +
                 "（没有设置法院名称，见 varnel.ini 的 [office] 一节）");
    QCOMPARE(表(d, 0).size(), 1 + 3 + 2);
    QCOMPARE(表(d, 0)[3], (QStringList{"3", "债权人3", "2,000.00", "一般债权", "", "1,000.00", ""}));

    QFile::remove(answer);
    answer.clear(); // the dialog cancelled
    child<QAction>(w, "输出分配方案")->trigger();
    QCOMPARE(opened.size(), 2);
    QCOMPARE(QDir(outDir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    关闭不保存(w);
}

// An editor whose text was refused is answered first; 重试 goes back to it, and nothing is asked
// or written.
void TestPlanDocument::refusedEntryFirst() {
    auto *w = new Fo案款分配计算;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    clickGridCell(w->MSFjk, 1, 1);
    typeText(w->tEXTAK, QStringLiteral("85000。50"));
    BoxAnswerer retry(QMessageBox::Retry);
    child<QAction>(w, "输出分配方案")->trigger();
    QCOMPARE(retry.texts, QStringList{"输入的内容“85000。50”不是有效的金额。"});
    QCOMPARE(asked, 0);
    QVERIFY(w->tEXTAK->isVisible());
    w->tEXTAK->setText(QStringLiteral("85000"));
    关闭不保存(w);
}

void TestPlanDocument::failuresAfterTheDialog_data() {
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("message"); // %1: the file
    QTest::newRow("folder read-only") << false << "不能保存分配方案“%1”：这个文件夹不能写入。";
    QTest::newRow("no word processor")
        << true
        << "已输出到 %1，但不能打开它。请用文字处理程序打开这个文件；如果这台电脑上还没有文字处理程序，请先安装一个。";
}

void TestPlanDocument::failuresAfterTheDialog() {
    QFETCH(bool, writable);
    QFETCH(QString, message);
    openSucceeds = false;
    if (!writable)
        设保存文件来源([](const QString &name) { return std::make_unique<ClosedSaveFile>(name); });
    BoxAnswerer boxes;
    QCOMPARE(输出(短缺案例()), writable ? answer : QString());
    QCOMPARE(boxes.texts, QStringList{message.arg(QDir::toNativeSeparators(answer))});
    QCOMPARE(QFile::exists(answer), writable);
    QCOMPARE(opened.size(), writable ? 1 : 0);
}

int runPlanDocumentTests(int argc, char **argv) {
    TestPlanDocument t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_plan_document.moc"
