#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/grid.h"
#include "output/pdf_output.h"
#include "output/print_routine.h"
#include "pdf_reader.h"
#include "window_test.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString 标题 = QStringLiteral("案款分配表");

// pdfinfo's line "Title: ..." of a file.
QString pdfTitle(const QString &path) {
    for (const QString &line : runTool(QStringLiteral("pdfinfo"), {path}).split('\n'))
        if (line.startsWith(QStringLiteral("Title:")))
            return line.mid(6).trimmed();
    return {};
}

// The "emb" column of every font pdffonts lists (the fifth field from the right).
QStringList embedded(const QString &path) {
    QStringList emb;
    const QStringList lines = runTool(QStringLiteral("pdffonts"), {path}).split('\n');
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList f = lines[i].split(' ', Qt::SkipEmptyParts);
        if (f.size() >= 6)
            emb.append(f[f.size() - 5]);
    }
    return emb;
}

// Every page's words, sorted, as poppler reads them.
QList<QStringList> pageWords(const PdfFile &pdf) {
    QList<QStringList> pages;
    for (int p = 1; p <= pdf.pages; ++p) {
        QStringList words;
        for (const PdfWord &w : pdf.onPage(p))
            words.append(w.text);
        words.sort();
        pages.append(words);
    }
    return pages;
}

// A save file that fails as a read-only folder or a full disk would: it cannot be opened, or it
// writes the first kilobyte into its temporary file and then no more.
class FailingSaveFile : public QSaveFile {
  public:
    FailingSaveFile(const QString &name, bool opens) : QSaveFile(name), opens(opens) {}
    bool open(OpenMode mode) override { return opens && QSaveFile::open(mode); }

  protected:
    qint64 writeData(const char *data, qint64 len) override {
        const qint64 room = std::min<qint64>(len, 1024 - written);
        if (room <= 0)
            return -1;
        const qint64 n = QSaveFile::writeData(data, room);
        written += n;
        return n;
    }

  private:
    bool opens;
    qint64 written = 0;
};

} // namespace

class TestPdf : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void claimsFileIsThePrintedPages();
    void cancelledDialogWritesNothing();
    void unwritableFileLeavesNothing_data();
    void unwritableFileLeavesNothing();

  private:
    Fo案款分配计算 *claimsWindow(int claims);

    QTemporaryDir dir, appDir;
    QStringList suggested; // what the save dialog was asked to suggest
    QString answer;        // the name the save dialog gives back
    std::unique_ptr<BoxAnswerer> guard;
};

void TestPdf::init() {
    设应用目录(加尾分隔符(QDir::toNativeSeparators(appDir.path())));
    suggested.clear();
    answer = dir.filePath(QStringLiteral("分配表.pdf"));
    设PDF文件名询问([this](QWidget *, const QString &suggestion) {
        suggested.append(suggestion);
        return answer;
    });
    guard = std::make_unique<BoxAnswerer>();
}

void TestPdf::cleanup() {
    设PDF文件名询问({});
    设PDF文件来源({});
    设打印机来源({});
    for (QWidget *w : QApplication::topLevelWidgets())
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
        QFile::remove(dir.filePath(name));
}

// The case fund window with claims 债权人1 … of 100 yuan each against 3000 yuan paid.
Fo案款分配计算 *TestPdf::claimsWindow(int claims) {
    auto *w = new Fo案款分配计算;
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

void TestPdf::claimsFileIsThePrintedPages() {
    // 120 claims, the header and the blank row: 122 grid rows, 3 pages of 50.
    Fo案款分配计算 *w = claimsWindow(120);
    w->setWindowTitle(QStringLiteral("案款分配计算 — 张三诉李四案"));
    child<QAction>(w, "保存为PDF文件")->trigger();
    QCOMPARE(suggested,
             QStringList{QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                             .filePath(QStringLiteral("案款分配表张三诉李四案.pdf"))});
    const PdfFile pdf = readPdf(answer);
    QCOMPARE(pdf.pages, 3);
    QCOMPARE(pdfTitle(answer), QStringLiteral("案款分配表 — 张三诉李四案"));
    const QStringList fonts = embedded(answer);
    QVERIFY(!fonts.isEmpty());
    QCOMPARE(fonts, QStringList(fonts.size(), QStringLiteral("yes")));
    // 3000 yuan over 120 claims of 100: 25 each (25%).
    const QString summary = runTool(QStringLiteral("pdftotext"), {answer, QStringLiteral("-")});
    for (const QString &text :
         {QStringLiteral("债权人1"), QStringLiteral("债权人49"), QStringLiteral("债权人50"),
          QStringLiteral("债权人120"), QStringLiteral("25"), QStringLiteral("第1页"),
          QStringLiteral("第3页"), QStringLiteral("25%")})
        QVERIFY2(summary.contains(text), qPrintable(text));
    QVERIFY(pdf.find(2, QStringLiteral("债权人50")) && pdf.find(3, QStringLiteral("债权人120")));
    QVERIFY(pdf.find(2, QStringLiteral("第2页")));

    // The same window printed to a PDF printer: the same pages with the same words.
    const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
    设打印机来源([&] { return pdfPrinter(printed); });
    child<QAction>(w, "打印分配结果")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const PdfFile paper = readPdf(printed);
    QCOMPARE(paper.pages, 3);
    QCOMPARE(pageWords(pdf), pageWords(paper));
}

void TestPdf::cancelledDialogWritesNothing() {
    Fo案款分配计算 *w = claimsWindow(3);
    answer.clear();
    int files = 0; // no file is opened, here or anywhere else
    设PDF文件来源([&files](const QString &name) {
        ++files;
        return std::make_unique<QSaveFile>(name);
    });
    child<QAction>(w, "保存为PDF文件")->trigger();
    QCOMPARE(files, 0);
    // No case loaded: the name is the title alone.
    QCOMPARE(QFileInfo(suggested.value(0)).fileName(), QStringLiteral("案款分配表.pdf"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestPdf::unwritableFileLeavesNothing_data() {
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QByteArray>("before"); // the file under the name beforehand, if any
    QTest::addColumn<QString>("reason");
    const QString full = QStringLiteral("文件没有写完，磁盘可能已满。");
    QTest::newRow("read-only folder") << false << QByteArray() << "这个文件夹不能写入。";
    QTest::newRow("disk full") << true << QByteArray() << full;
    QTest::newRow("disk full, earlier file kept") << true << QByteArray("earlier") << full;
}

void TestPdf::unwritableFileLeavesNothing() {
    QFETCH(bool, opens);
    QFETCH(QByteArray, before);
    QFETCH(QString, reason);
    if (!before.isEmpty()) {
        QFile earlier(answer);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write(before) == before.size());
    }
    设PDF文件来源(
        [opens](const QString &name) { return std::make_unique<FailingSaveFile>(name, opens); });
    BoxAnswerer boxes;
    Fo案款分配计算 *w = claimsWindow(60);
    child<QAction>(w, "保存为PDF文件")->trigger();
    QCOMPARE(boxes.texts,
             QStringList{QStringLiteral("不能保存PDF文件“%1”：%2").arg(answer, reason)});
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    if (before.isEmpty()) {
        QCOMPARE(left, QStringList());
    } else {
        QCOMPARE(left, QStringList{QFileInfo(answer).fileName()});
        QFile earlier(answer);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), before);
    }
}

int runPdfTests(int argc, char **argv) {
    TestPdf t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_pdf.moc"
