// Every text of every window is whole: no label, button, text box or list item clips its text
// with the font that stands in for 宋体. Each window is filled as a clerk would see it at its
// fullest.
#include "app/about_window.h"
#include "app/main_window.h"
#include "box_answerer.h"
#include "casefund/case_fund_window.h"
#include "common/app_dir.h"
#include "common/controls.h"
#include "common/grid.h"
#include "common/twips.h"
#include "fee/fee_window.h"
#include "interest/interest_window.h"
#include "sentence/sentence_window.h"
#include "typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Pixels Label7 may stand out: its 255 twips are narrower than one 14.25 pt character.
constexpr int Label7外伸 = 3;

QString 名(const QWidget *w) {
    return w->objectName().isEmpty() ? QString::fromUtf8(w->metaObject()->className())
                                     : w->objectName();
}

QString 超出(const QWidget *w, const QString &text, QRect need, QRect room) {
    return QStringLiteral("%1 \"%2\": text %3x%4 at %5,%6, room %7x%8 at %9,%10")
        .arg(名(w), text)
        .arg(need.width())
        .arg(need.height())
        .arg(need.x())
        .arg(need.y())
        .arg(room.width())
        .arg(room.height())
        .arg(room.x())
        .arg(room.y());
}

void 查标签(const QLabel *label, QStringList &faults) {
    if (label->text().isEmpty())
        return;
    const int margin = label->margin();
    const QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QFontMetrics metrics(label->font());
    QRect need = metrics.boundingRect(room, flags, label->text());
    // Above the ink of the first line and below that of the last the line box is blank: a
    // label one line high may be as tall as the ink, as a 宋体 heading of 14.25 pt in its
    // 285-twip label is.
    const QRect ink = metrics.tightBoundingRect(label->text()); // from the baseline
    need.adjust(0, std::max(0, metrics.ascent() + ink.top()), 0,
                -std::max(0, metrics.descent() - ink.bottom() - 1));
    const int slack = label->objectName() == QStringLiteral("Label7") ? Label7外伸 : 0;
    if (!room.adjusted(-slack, 0, slack, 0).contains(need))
        faults << 超出(label, label->text(), need, room);
}

void 查按钮(const QPushButton *button, QStringList &faults) {
    const QString text = QString(button->text()).remove(u'&');
    const QFontMetrics metrics(button->font());
    // The face leaves two pixels of frame on each side.
    const QRect room = button->rect().adjusted(2, 2, -2, -2);
    const QRect need(0, 0, metrics.horizontalAdvance(text), metrics.height());
    if (need.width() > room.width() || need.height() > room.height())
        faults << 超出(button, text, need, room);
}

void 查文本框(const QLineEdit *box, QStringList &faults) {
    const QFontMetrics metrics(box->font());
    const int frame = box->hasFrame() ? 2 : 0;
    const QRect room = box->rect().adjusted(frame, frame, -frame, -frame);
    const QRect need(0, 0, metrics.horizontalAdvance(box->text()), metrics.height());
    if (need.width() > room.width() - 4 || need.height() > room.height())
        faults << 超出(box, box->text(), need, room);
}

void 查列表(const QListWidget *list, QStringList &faults) {
    const QFontMetrics metrics(list->font());
    const QRect room = list->viewport()->rect();
    for (int i = 0; i < list->count(); ++i) {
        const QString text = list->item(i)->text();
        const QRect item = list->visualItemRect(list->item(i));
        // A list that wraps its items: the wrapped lines, three pixels in from each side.
        if (list->wordWrap()) {
            const QRect need = metrics.boundingRect(item.adjusted(3, 0, -3, 0),
                                                    Qt::TextWordWrap | Qt::AlignVCenter, text);
            if (!item.contains(need) || need.right() > room.right())
                faults << 超出(list, text, need, item);
            continue;
        }
        // The line is centred in the item; its ink, "_" included, must stay inside.
        const int baseline = item.y() + (item.height() - metrics.height()) / 2 + metrics.ascent();
        const QRect ink = metrics.tightBoundingRect(text).translated(item.x(), baseline);
        const QRect need(item.x(), std::min(ink.top(), item.y()), metrics.horizontalAdvance(text),
                         0);
        if (need.right() > room.right() || ink.bottom() > item.bottom() || ink.top() < item.top())
            faults << 超出(list, text, need.adjusted(0, 0, 0, ink.bottom() - need.y() + 1), item);
    }
}

void 查结果框(const QPlainTextEdit *box, QStringList &faults) {
    const QSizeF size = box->document()->size(); // lines, in line units of a plain text box
    const QFontMetrics metrics(box->font());
    const int need =
        int(size.height()) * metrics.lineSpacing() + 2 * int(box->document()->documentMargin());
    if (need > box->viewport()->height())
        faults << 超出(box, box->toPlainText(), QRect(0, 0, 0, need), box->viewport()->rect());
}

// Every shown control of a window whose text is cut.
QStringList 被截文本(QWidget *window) {
    QStringList faults;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        if (auto *label = qobject_cast<QLabel *>(w); label && label->pixmap().isNull())
            查标签(label, faults);
        else if (auto *button = qobject_cast<QPushButton *>(w))
            查按钮(button, faults);
        else if (auto *box = qobject_cast<QLineEdit *>(w);
                 box && !qobject_cast<QComboBox *>(w->parent()))
            查文本框(box, faults);
        else if (auto *list = qobject_cast<QListWidget *>(w))
            查列表(list, faults);
        else if (auto *result = qobject_cast<QPlainTextEdit *>(w))
            查结果框(result, faults);
    }
    return faults;
}

#define NO_CUT_TEXT(window)                                                                        \
    do {                                                                                           \
        const QStringList cut = 被截文本(window);                                                  \
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));                       \
    } while (false)

void 显示(QWidget *w) {
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

} // namespace

class TestTextFits : public QObject {
    Q_OBJECT
  private slots:
    void init() { guard = std::make_unique<BoxAnswerer>(); }
    void cleanup() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
    }
    void standInFont();
    void mainWindow();
    void aboutWindow();
    void feeWindowWithBothArrows();
    void feeWindowIn2007WithTheLongestRange();
    void sentenceWindowWithBothLines();
    void caseFundWindowWithFiveClassesAndASurplus();
    void interestWindowWithTheLongestExplanation();
    void calculatorsKeepTheirSize();
    void labelsGrowToTheirText_data();
    void labelsGrowToTheirText();

  private:
    std::unique_ptr<BoxAnswerer> guard;
};

// Where 宋体 is missing, the stand-in has its metrics at 9 pt: 12-pixel lines and Latin
// letters half the width of Chinese ones.
void TestTextFits::standInFont() {
    if (QGuiApplication::platformName() == QStringLiteral("windows"))
        QSKIP("Windows draws the stand-in with its own line height; 宋体 itself has 12 pixels");
    const QFont font = 宋体(9);
    const QFontMetrics metrics(font);
    if (QFontInfo(font).family() != QStringLiteral("宋体") &&
        QFontInfo(font).family() != QStringLiteral("SimSun"))
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("AR PL UMing CN"));
    QCOMPARE(metrics.height(), 12);
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("法")), 12);
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("a")), 6);
}

void TestTextFits::mainWindow() {
    QTemporaryDir dir;
    Fo工具主页 main;
    显示(&main);
    NO_CUT_TEXT(&main);
}

void TestTextFits::aboutWindow() {
    auto *about = new frmAbout;
    显示(about);
    NO_CUT_TEXT(about);
    about->close();
}

void TestTextFits::feeWindowWithBothArrows() {
    auto *w = new Fo诉讼费计算;
    显示(w);
    w->List1->setCurrentRow(1); // divorce: the joint-property row and the note are shown
    typeText(w->Tex标的, QStringLiteral("12a"));
    typeText(w->Te共同产, QStringLiteral("3b"));
    QVERIFY(w->Lab错误指示[0]->isVisible());
    QVERIFY(w->Lab错误指示[1]->isVisible());
    QVERIFY(w->Label7->isVisible());
    QVERIFY(w->Label8->isVisible());
    NO_CUT_TEXT(w);
    关闭不保存(w);
}

// The 2007 schedule: every type (the long ones wrap), the halved basis, and the widest range the
// money type can hold (the joint property just under its limit, with fen).
void TestTextFits::feeWindowIn2007WithTheLongestRange() {
    auto *w = new Fo诉讼费计算;
    显示(w);
    w->Com收费标准->setCurrentIndex(1);
    w->List1->setCurrentRow(1);
    typeText(w->Te共同产, QStringLiteral("184000000000001.37"));
    QCOMPARE(w->Te结果->text(), QStringLiteral("919999999050.01至919999999300.01"));
    NO_CUT_TEXT(w);
    w->Chk减半->setChecked(true);
    NO_CUT_TEXT(w);
    关闭不保存(w);
}

void TestTextFits::sentenceWindowWithBothLines() {
    auto *w = new Fo刑期计算;
    显示(w);
    w->MSF->setTextMatrix(1, 0, QStringLiteral("2019-5-10"));
    w->MSF->setRows(3);
    w->Tex执行日期->setText(QStringLiteral("2020-5-10"));
    w->Com刑期[0]->setEditText(QStringLiteral("3"));
    QVERIFY(w->Text1->toPlainText().contains(QStringLiteral("执行前扣除羁押：")));
    NO_CUT_TEXT(w);
    // The lines under the result at their longest: today's start with its reason, a credit of
    // decades (25203 days), the execution date before the start.
    w->MSF->setTextMatrix(1, 1, QStringLiteral("2019-12-31"));
    w->MSF->setTextMatrix(1, 0, QStringLiteral("1950-12-31"));
    w->Tex执行日期->setText(QStringLiteral("1950-1-1"));
    w->Com刑期[0]->setEditText(QStringLiteral("20"));
    QVERIFY(w->La刑期起算->text().contains(QStringLiteral("（今天；")));
    QVERIFY(w->Text1->toPlainText().contains(QStringLiteral("执行日期早于刑期起算日")));
    NO_CUT_TEXT(w);
    // And the picker's date box and buttons.
    w->Picture1->show();
    w->Tex日期->setText(QStringLiteral("2026/12/31"));
    NO_CUT_TEXT(w);
    关闭不保存(w);
}

void TestTextFits::caseFundWindowWithFiveClassesAndASurplus() {
    QTemporaryDir dir;
    设应用目录(加尾分隔符(QDir::toNativeSeparators(dir.path())));
    auto *w = new Fo案款分配计算;
    显示(w);
    w->MSFjk->setRows(3);
    w->MSFjk->setTextMatrix(1, 1, QStringLiteral("100000"));
    const char *natures[] = {"诉讼费用", "抵押", "工资", "税款", "一般债权"};
    w->MSFzc->setRows(7);
    for (int r = 1; r <= 5; ++r) {
        w->MSFzc->setTextMatrix(r, 1, QStringLiteral("1000"));
        w->MSFzc->setTextMatrix(r, 2, QString::fromUtf8(natures[r - 1]));
    }
    w->MSFzc->setTextMatrix(2, 3, QStringLiteral("1000"));
    w->分配计算();
    QVERIFY(w->Label4->text().contains(QStringLiteral("余款95000归还交款人。")));
    QVERIFY(w->Label4->text().contains(QStringLiteral("一般债权1000元(100%)")));
    NO_CUT_TEXT(w);
    w->Com删除案件->show();
    w->Pic原数据->show();
    NO_CUT_TEXT(w);
    关闭不保存(w);
}

void TestTextFits::interestWindowWithTheLongestExplanation() {
    auto *w = new Fo利息计算;
    显示(w);
    // Delayed performance: the longest label and method; a payment of more than was owed.
    w->Com计息方式->setCurrentIndex(0);
    w->Tex本金->setText(QStringLiteral("123456789.99"));
    w->Tex起算日->setText(QStringLiteral("2000-01-01"));
    w->Tex截止日->setText(QStringLiteral("2025-12-31"));
    w->MSF还款->setTextMatrix(1, 0, QStringLiteral("2010-06-30"));
    w->MSF还款->setTextMatrix(1, 1, QStringLiteral("999999999"));
    w->计算();
    QVERIFY(w->La计算说明->text().contains(QStringLiteral("多付")));
    NO_CUT_TEXT(w);
    // A loan prime rate unsplit past the latest publication with payments: every note at once.
    w->Com计息方式->setCurrentIndex(2);
    w->Chk分段->setChecked(false);
    w->Tex起算日->setText(QStringLiteral("2025-12-23"));
    w->Tex截止日->setText(QStringLiteral("2099-12-31"));
    w->Tex倍数->setText(QStringLiteral("1.333333"));
    w->MSF还款->setTextMatrix(1, 0, QStringLiteral("2030-01-01"));
    w->MSF还款->setTextMatrix(1, 1, QStringLiteral("33333.33"));
    w->计算();
    QVERIFY(w->La计算说明->text().contains(QStringLiteral("请核对有无新的公布")));
    NO_CUT_TEXT(w);
    w->Picture1->show();
    w->Picture1->Tex日期->setText(QStringLiteral("2026/12/31"));
    NO_CUT_TEXT(w);
    关闭不保存(w);
}

// The controls sit at fixed twips: the fee and sentence calculators cannot be resized; the case
// fund window opens at its size and may only grow.
void TestTextFits::calculatorsKeepTheirSize() {
    QTemporaryDir dir;
    设应用目录(加尾分隔符(QDir::toNativeSeparators(dir.path())));
    const QList<std::pair<QMainWindow *, QSize>> windows{
        {new Fo诉讼费计算, QSize(像素(6840), 像素(5160))},
        {new Fo刑期计算, QSize(像素(6090), 像素(6345))},
        {new Fo案款分配计算, QSize(像素(8655), 像素(7095))},
        {new Fo利息计算, QSize(像素(9600), 像素(9720))}};
    for (const auto &[w, client] : windows) {
        显示(w);
        QCOMPARE(w->centralWidget()->size(), client);
        const bool grows = w->objectName() == QStringLiteral("Fo案款分配计算");
        QCOMPARE(w->minimumSize() == w->maximumSize(), !grows);
        w->resize(w->width() + 100, w->height() + 100);
        QCOMPARE(w->centralWidget()->size(), grows ? client + QSize(100, 100) : client);
        if (!grows)
            QCOMPARE(w->size(), w->minimumSize());
        关闭不保存(w);
    }
}

// Where a face other than 宋体 draws a heading wider than its label, the label grows to the side
// its alignment overflows; a label its text fits keeps its box.
void TestTextFits::labelsGrowToTheirText_data() {
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("widthTwips");
    QTest::addColumn<QString>("grows"); // "", "right", "left" or "both"
    QTest::addColumn<bool>("wraps");       // set after the font, as the windows do
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    QTest::newRow("left, too narrow") << left << 900 << "right" << false;
    QTest::newRow("right, too narrow") << int(Qt::AlignRight | Qt::AlignVCenter) << 900 << "left"
                                       << false;
    QTest::newRow("centred, too narrow") << int(Qt::AlignCenter) << 900 << "both" << false;
    QTest::newRow("centred, room enough") << int(Qt::AlignCenter) << 2400 << "" << false;
    QTest::newRow("word-wrapped") << left << 600 << "" << true;
}

void TestTextFits::labelsGrowToTheirText() {
    QFETCH(int, alignment);
    QFETCH(int, widthTwips);
    QFETCH(QString, grows);
    QFETCH(bool, wraps);
    QWidget window;
    window.resize(像素(6000), 像素(2000));
    QLabel *label = 新标签(&window, QStringLiteral("Label2"), QStringLiteral("诉讼费计算"), 2000,
                           300, widthTwips, 285);
    label->setAlignment(Qt::Alignment(alignment));
    label->setFont(宋体(14.25));
    label->setWordWrap(wraps);
    const QRect box(像素(2000), 像素(300), 像素(widthTwips), 像素(285));
    显示(&window);
    const QRect now = label->geometry();
    QStringList cut;
    if (!wraps) // a wrapped label keeps its box: its lines are the window's own affair
        查标签(label, cut);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    QCOMPARE(now.left() < box.left(), grows == QStringLiteral("left") || grows == "both");
    QCOMPARE(now.right() > box.right(), grows == QStringLiteral("right") || grows == "both");
    if (grows == QStringLiteral("both"))
        QVERIFY(qAbs((box.left() - now.left()) - (now.right() - box.right())) <= 1);
    if (grows.isEmpty())
        QCOMPARE(std::pair(now.left(), now.right()), std::pair(box.left(), box.right()));
    QCOMPARE(缇宽(label), widthTwips); // the designed box stays what the window reports
}

int runTextFitsTests(int argc, char **argv) {
    TestTextFits t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_text_fits.moc"
