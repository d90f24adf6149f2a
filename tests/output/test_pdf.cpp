#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "output/pdf_output.h"
#include "output/saved_file.h"
#include "output/print_routine.h"
#include "pdf_reader.h"
#include "window_test.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QSaveFile>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// A save file failing as in a read-only folder (it cannot be opened) or on a full disk (its
// temporary file takes one kilobyte and no more).
struct FailingSaveFile : QSaveFile {
    FailingSaveFile(const QString &name, bool opens) : QSaveFile(name), opens(opens) {}
    bool open(OpenMode mode) override { return opens && QSaveFile::open(mode); }
    qint64 writeData(const char *data, qint64 len) override {
        return std::exchange(full, true) ? -1 : QSaveFile::writeData(data, std::min(len, 1024LL));
    }
    bool opens, full = false;
};

// The case fund window with claims 债权人1 … of 100 yuan each against 3000 yuan paid.
Fo案款分配计算 *claimsWindow(int claims) {
    auto *w = new Fo案款分配计算;
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    w->MSFjk->setTextMatrix(1, 1, QStringLiteral("3000"));
    w->MSFzc->setRows(claims + 2);
    for (int r = 1; r <= claims; ++r) {
        w->MSFzc->setTextMatrix(r, 0, QStringLiteral("债权人%1").arg(r));
        w->MSFzc->setTextMatrix(r, 1, QStringLiteral("100"));
        w->MSFzc->setTextMatrix(r, 2, QStringLiteral("一般债权"));
    }
    w->分配计算();
    return w;
}

} // namespace

class TestPdf : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        设应用目录(加尾分隔符(QDir::toNativeSeparators(appDir.path())));
        answer = dir->filePath(QStringLiteral("分配表.pdf"));
        设文件名询问([this](QWidget *, const QString &suggestion) {
            suggested = suggestion;
            return answer;
        });
        guard = std::make_unique<BoxAnswerer>();
    }
    void cleanup() {
        设文件名询问({});
        设保存文件来源({});
        设打印机来源({});
        QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
    }
    void claimsFileIsThePrintedPages();
    void nothingWritten_data();
    void nothingWritten();
    void realDialogNeverReplacesUnasked_data();
    void realDialogNeverReplacesUnasked();
    void suggestedNameHasNoForbiddenCharacter();

  private:
    QTemporaryDir appDir;
    std::unique_ptr<QTemporaryDir> dir; // a new one for every test
    QString suggested, answer;          // the save dialog's suggestion and answer
    std::unique_ptr<BoxAnswerer> guard;
};

void TestPdf::claimsFileIsThePrintedPages() {
    // 120 claims, the header and the blank row: 122 grid rows, 3 pages of 50.
    Fo案款分配计算 *w = claimsWindow(120);
    恢复内容 named = w->当前恢复内容(); // the same rows, of a stored case
    named.案件号 = 7;
    named.案件名称 = QStringLiteral("张三诉李四案");
    w->接过恢复内容(named);
    child<QAction>(w, "保存为PDF文件")->trigger();
    QCOMPARE(suggested, 文档文件夹() + QStringLiteral("/案款分配表张三诉李四案.pdf"));
    const PdfFile pdf = readPdf(answer);
    QCOMPARE(pdf.pages, 3);
    QCOMPARE(w->statusBar()->currentMessage(),
             QStringLiteral("已保存：") + QDir::toNativeSeparators(answer));
    const QString info = runTool(QStringLiteral("pdfinfo"), {answer});
    QVERIFY2(info.contains(QStringLiteral("Title:           案款分配表 — 张三诉李四案\n")),
             qPrintable(info));
    // pdffonts: two heading lines, then a line a font; none says "no" in its emb column, the
    // fifth from the right.
    const QString fonts = runTool(QStringLiteral("pdffonts"), {answer});
    const QRegularExpression notEmbedded(QStringLiteral(" no +\\S+ +\\S+ +\\d+ +\\d+\n"));
    QVERIFY2(fonts.count('\n') > 2 && !fonts.contains(notEmbedded), qPrintable(fonts));
    // 3000 yuan over 120 claims of 100: 25 each, 25% in the summary.
    // Every page names the stored case under its title.
    const QStringList pages[] = {{"债权人1", "25", "第1页", "张三诉李四案"},
                                 {"债权人50", "第2页", "张三诉李四案"},
                                 {"债权人120", "第3页", "张三诉李四案"}};
    for (int p = 1; p <= 3; ++p)
        for (const QString &text : pages[p - 1])
            QVERIFY2(pdf.find(p, text), qPrintable(text));
    QVERIFY(pdf.text(3).contains(QStringLiteral("25%")));
    // The same window printed to a PDF printer: the same pages with the same words.
    const QString printed = dir->filePath(QStringLiteral("printed.pdf"));
    设打印机来源([&] { return pdfPrinter(printed); });
    child<QAction>(w, "打印分配结果")->trigger();
    const PdfFile paper = readPdf(printed);
    QCOMPARE(paper.pages, 3);
    QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("已送往打印机“”：3页"));
    for (int p = 1; p <= 3; ++p)
        QCOMPARE(pdf.text(p), paper.text(p));
    关闭不保存(w);
}

void TestPdf::nothingWritten_data() {
    QTest::addColumn<bool>("named");     // the dialog gives a name
    QTest::addColumn<bool>("opens");     // the file opens
    QTest::addColumn<QByteArray>("old"); // the file under the name beforehand, if any
    QTest::addColumn<QString>("box");
    const QString full = QStringLiteral("文件没有写完，磁盘可能已满。");
    QTest::newRow("dialog cancelled") << false << true << QByteArray() << QString();
    QTest::newRow("read-only folder") << true << false << QByteArray() << "这个文件夹不能写入。";
    QTest::newRow("disk full") << true << true << QByteArray() << full;
    QTest::newRow("disk full, old file kept") << true << true << QByteArray("old") << full;
}

void TestPdf::nothingWritten() {
    QFETCH(bool, named);
    QFETCH(bool, opens);
    QFETCH(QByteArray, old);
    QFETCH(QString, box);
    QFile file(answer);
    QVERIFY(old.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(old) == 3));
    file.close();
    if (!named)
        answer.clear();
    int opened = 0;
    设保存文件来源([&](const QString &name) {
        ++opened;
        return std::make_unique<FailingSaveFile>(name, opens);
    });
    BoxAnswerer boxes;
    Fo案款分配计算 *w = claimsWindow(60);
    child<QAction>(w, "保存为PDF文件")->trigger();
    QCOMPARE(w->statusBar()->currentMessage(), QString());
    关闭不保存(w);
    QCOMPARE(opened, named ? 1 : 0);
    QCOMPARE(boxes.texts.join(QString()),
             box.isEmpty() ? box : QStringLiteral("不能保存PDF文件“%1”：%2")
                                   .arg(QDir::toNativeSeparators(answer), box));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden),
             old.isEmpty() ? QStringList() : QStringList{QStringLiteral("分配表.pdf")});
    if (!old.isEmpty()) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
    }
}

// The real save dialog, its file-name box filled as a clerk types: a name typed without ".pdf"
// whose file exists is asked about (by the dialog), and so is one with another suffix (by the
// program, which adds ".pdf"); 否 keeps the old file, 是 replaces it.
void TestPdf::realDialogNeverReplacesUnasked_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("replace");
    QTest::newRow("no suffix, No") << "报告" << "报告.pdf" << false;
    QTest::newRow("no suffix, Yes") << "报告" << "报告.pdf" << true;
    QTest::newRow("other suffix, No") << "报告.txt" << "报告.txt.pdf" << false;
    QTest::newRow("other suffix, Yes") << "报告.txt" << "报告.txt.pdf" << true;
}

void TestPdf::realDialogNeverReplacesUnasked() {
    QFETCH(QString, typed);
    QFETCH(QString, file);
    QFETCH(bool, replace);
    设文件名询问({});
    QFile old(dir->filePath(file));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    BoxAnswerer boxes(replace ? QMessageBox::Yes : QMessageBox::No);
    bool typedIn = false;
    QTimer driver;
    driver.setInterval(10);
    connect(&driver, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (typedIn) { // still open after the question was answered 否
            dialog->reject();
            return;
        }
        typedIn = true;
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        edit->setText(dir->filePath(typed));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    driver.start();
    Fo案款分配计算 *w = claimsWindow(3);
    child<QAction>(w, "保存为PDF文件")->trigger();
    driver.stop();
    关闭不保存(w);
    QVERIFY(typedIn);
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts[0].contains(file), qPrintable(boxes.texts[0]));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll().startsWith("%PDF"), replace);
}

void TestPdf::suggestedNameHasNoForbiddenCharacter() {
    const QString name = QFileInfo(PDF建议文件名(QStringLiteral("案款分配表"),
                                                 QStringLiteral("甲:乙*丙?\"<戊>|己/庚\\辛")))
                             .fileName();
    QCOMPARE(name, QStringLiteral("案款分配表甲-乙-丙---戊--己-庚-辛.pdf"));
#ifndef Q_OS_WIN
    // A home without a documents folder: the dialog starts in the home folder itself.
    const QByteArray home = qgetenv("HOME");
    QTemporaryDir bare;
    qputenv("HOME", QFile::encodeName(bare.path()));
    const QString plain = 文档文件夹();
    QVERIFY(QDir(bare.path()).mkdir(QStringLiteral("Documents")));
    const QString made = 文档文件夹();
    qputenv("HOME", home);
    QCOMPARE(plain, bare.path());
    QCOMPARE(made, bare.filePath(QStringLiteral("Documents")));
#endif
}

int runPdfTests(int argc, char **argv) {
    TestPdf t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_pdf.moc"
