// The lines under the result, which make it checkable: where the term runs from (the detention
// date of the last open custody row, else today) and the custody credited, in days and as the
// end date takes it. A start that comes from a row meant as a completed period (its release date
// refused, or a filled row below it) is shown light red, as a refused cell is.
#include "sentence/sentence_window.h"

#include "common/controls.h"
#include "common/grid.h"
#include "common/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace {

constexpr int 说明左 = 480;
constexpr int 说明宽 = 5175;
constexpr int 起算上 = 5040;
constexpr int 行高 = 180;
const QColor 浅红(255, 128, 128);

} // namespace

void Fo刑期计算::建立说明行(QWidget *c) {
    // Today's start with its reason takes two lines of the window's width; the box is as high as
    // its text, so that the light red covers the text alone. Wrapped, should another face draw it
    // wider.
    La刑期起算 =
        新标签(c, QStringLiteral("La刑期起算"), QString(), 说明左, 起算上, 说明宽, 2 * 行高);
    La刑期起算->setWordWrap(true);
    La刑期起算->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    设背景色(La刑期起算, 浅红);
    La刑期起算->setAutoFillBackground(false);
    La折抵羁押 = 新标签(c, QStringLiteral("La折抵羁押"), QString(), 说明左, 起算上 + 2 * 行高 + 60,
                        说明宽, 行高);
}

void Fo刑期计算::刷新说明行() {
    // A row the table has dropped (the blank-row rule) takes its refusal with it.
    释放被拒行.removeIf([this](int row) { return row >= MSF->Rows(); });
    const QList<羁押行> rows = 羁押表行();
    const auto custody = 读羁押表(rows, QDate::currentDate());
    QString start, credit, why;
    bool halfEntered = false;
    // A table the end date cannot be read from (a release that is no date) says nothing here.
    if (custody) {
        const 羁押说明 told = 说明羁押表(rows);
        start = 起算文本(custody->起算日, told.起算行.has_value());
        credit = 折抵文本(told.折抵天数, custody->合计);
        if (told.起算行) {
            const int row = *told.起算行 + MSF->FixedRows();
            if (释放被拒行.contains(row))
                why = QStringLiteral("第%1行的释放日期没有被接受，刑期从这一行的关押日期起算。");
            else if (told.后有填行)
                why = QStringLiteral("第%1行没有释放日期，它下面还有羁押期间：刑期从这一行的"
                                     "关押日期起算。");
            halfEntered = !why.isEmpty();
            if (halfEntered)
                why = why.arg(row);
        }
    }
    // Too long for one line (today's start with its reason), the reason goes on the second.
    const QFontMetrics metrics(La刑期起算->font());
    if (metrics.horizontalAdvance(start) > 像素(说明宽))
        start.replace(QStringLiteral("（"), QStringLiteral("\n（"));
    La刑期起算->setText(start);
    La刑期起算->setToolTip(why);
    La刑期起算->setAutoFillBackground(halfEntered);
    const int lines = La刑期起算->heightForWidth(像素(说明宽)) / metrics.height();
    放置(La刑期起算, 说明左, 起算上, 说明宽, std::clamp(lines, 1, 2) * 行高);
    La折抵羁押->setText(credit);
}

// A date typed straight into the box (it has the focus from the keyboard) counts when the clerk
// is done with it: Enter, or the focus leaving.
void Fo刑期计算::执行日期改完() {
    if (!Tex执行日期->isModified())
        return;
    Tex执行日期->setModified(false);
    刷新结果();
}

// A release date refused for a row, or one entered (an empty one too: the period is then meant
// as open).
void Fo刑期计算::记下释放被拒(int row, bool refused) {
    if (refused)
        释放被拒行.insert(row);
    else
        释放被拒行.remove(row);
}
