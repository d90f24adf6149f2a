#include "archive/sql_text.h"

#include "common/cell_text.h"
#include "common/number_text.h"

namespace {

QString 去首尾空格(const QString &text) {
    qsizetype from = 0;
    while (from < text.size() && text.at(from) == QLatin1Char(' '))
        ++from;
    return 去尾空格(text.mid(from));
}

// A text between single quotes. Cleaned first, whatever its source: a cell or a name that kept
// an unpaired surrogate or a U+0000 could otherwise end the literal early.
QString 引号(const QString &text) {
    QString doubled = 单元格文本(text);
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString 号(std::int32_t n) {
    return QString::number(n);
}

} // namespace

QString 单元字面量(const QString &原内容) {
    const QString trimmed = 去首尾空格(单元格文本(原内容));
    return trimmed.isEmpty() ? QStringLiteral("Null") : 引号(trimmed);
}

QString 名称字面量(const QString &名称) {
    return 引号(名称);
}

namespace 案件语句 {

QString 查名称(const QString &名称) {
    return QStringLiteral("SELECT 名称 FROM 案件 where 名称=") + 名称字面量(名称) +
           QStringLiteral(" ");
}

QString 插入案件(const QString &名称) {
    return QStringLiteral("insert into 案件 ( 名称 ) values (") + 名称字面量(名称) +
           QStringLiteral(")");
}

QString 查案件号(const QString &名称) {
    return QStringLiteral("SELECT ajid FROM 案件 where 名称=") + 名称字面量(名称) +
           QStringLiteral(" ");
}

QString 查案件在否(std::int32_t n) {
    return QStringLiteral("SELECT ajid FROM 案件 where ajid = ") + 号(n);
}

QString 删除交款(std::int32_t n) {
    return QStringLiteral("delete from 交款 where ajid = ") + 号(n);
}

QString 删除债权(std::int32_t n) {
    return QStringLiteral("delete from 债权 where ajid = ") + 号(n);
}

QString 删除案件(std::int32_t n) {
    return QStringLiteral("delete from 案件 where ajid = ") + 号(n);
}

QString 插入交款(std::int32_t n, const QStringList &l) {
    return QStringLiteral(" insert into 交款 ( ajid , 交款人, 金额, 交款时间, 备注) values ( ") +
           号(n) + QStringLiteral(" , ") + l.value(0) + QStringLiteral(",") + l.value(1) +
           QStringLiteral(",") + l.value(2) + QStringLiteral(",") + l.value(3) +
           QStringLiteral(" )");
}

QString 插入债权(std::int32_t n, const QStringList &l) {
    return QStringLiteral(" insert into 债权 ( ajid ,债权人, 债权金额, 债权性质, 其中抵押优先金额, "
                          "分配金额, 备注) values ( ") +
           号(n) + QStringLiteral(" , ") + l.value(0) + QStringLiteral(",") + l.value(1) +
           QStringLiteral(",") + l.value(2) + QStringLiteral(",") + l.value(3) +
           QStringLiteral(" ,") + l.value(4) + QStringLiteral(",") + l.value(5) +
           QStringLiteral("  )");
}

QString 列出案件() {
    return QStringLiteral("SELECT * FROM 案件  ORDER BY ajid ");
}

QString 读交款(std::int32_t n) {
    return QStringLiteral("SELECT 交款人, 金额, 交款时间, 备注 FROM 交款 where ajid=") + 号(n) +
           QStringLiteral(" ORDER BY id ");
}

QString 读债权(std::int32_t n) {
    return QStringLiteral("SELECT 债权.债权人, 债权.债权金额, 债权.债权性质, "
                          "债权.其中抵押优先金额, 债权.分配金额, 债权.备注 FROM 债权 WHERE  "
                          "((债权.ajid)=") +
           号(n) + QStringLiteral(") ORDER BY 债权.id");
}

} // namespace 案件语句
