#include "common/date_text.h"

#include "common/number_text.h"

#include <QLocale>
#include <QRegularExpression>

QDate 零日期() {
    return QDate(1899, 12, 30);
}

bool 日期在范围内(const QDate &d) {
    return d.isValid() && d.year() >= 100 && d.year() <= 9999;
}

std::optional<日数> 日序(const QDate &d) {
    if (!日期在范围内(d))
        return std::nullopt;
    return 零日期().daysTo(d);
}

std::optional<QDate> 日序日期(日数 n) {
    // Keep far-off counts away from QDate's own limits before adding.
    if (n < -700'000 || n > 3'000'000)
        return std::nullopt;
    const QDate d = 零日期().addDays(n);
    if (!日期在范围内(d))
        return std::nullopt;
    return d;
}

QString 短日期格式() {
    QString f = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QLatin1String("yyyy")))
        f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

QString 短日期文本(const QDate &d) {
    return QLocale::system().toString(d, 短日期格式());
}

namespace {

std::optional<QDate> fromParts(const QRegularExpressionMatch &m) {
    if (!m.hasMatch())
        return std::nullopt;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!日期在范围内(d))
        return std::nullopt;
    return d;
}

} // namespace

std::optional<QDate> 读日期(const QString &text) {
    static const QRegularExpression numeric(
        QStringLiteral(R"(^(\d{1,4})([-/.])(\d{1,2})\2(\d{1,2})$)"));
    static const QRegularExpression chinese(
        QStringLiteral(R"(^(\d{1,4})\s*年\s*(\d{1,2})\s*月\s*(\d{1,2})\s*日$)"));
    const QString s = 半角化(text).trimmed();
    if (s.isEmpty())
        return std::nullopt;
    if (auto m = numeric.match(s); m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
        return 日期在范围内(d) ? std::optional<QDate>(d) : std::nullopt;
    }
    if (auto d = fromParts(chinese.match(s)))
        return d;
    const QDate local = QLocale::system().toDate(s, 短日期格式());
    if (日期在范围内(local))
        return local;
    return std::nullopt;
}

bool 是日期(const QString &text) {
    return 读日期(text).has_value();
}
