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

// A year-month-day match; a date only when the triple is a valid calendar day in range.
std::optional<QDate> 日期部分(const QRegularExpressionMatch &m) {
    const QDate d(m.captured(u"y").toInt(), m.captured(u"m").toInt(), m.captured(u"d").toInt());
    return 日期在范围内(d) ? std::optional<QDate>(d) : std::nullopt;
}

} // namespace

std::optional<QDate> 读日期(const QString &text) {
    static const QRegularExpression forms[] = {
        QRegularExpression(QStringLiteral(R"(^(?<y>\d{1,4})([-/.])(?<m>\d{1,2})\2(?<d>\d{1,2})$)")),
        QRegularExpression(
            QStringLiteral(R"(^(?<y>\d{1,4})\s*年\s*(?<m>\d{1,2})\s*月\s*(?<d>\d{1,2})\s*日$)")),
    };
    const QString s = 半角化(text).trimmed();
    if (s.isEmpty())
        return std::nullopt;
    for (const QRegularExpression &form : forms)
        if (const auto m = form.match(s); m.hasMatch())
            return 日期部分(m);
    const QDate local = QLocale::system().toDate(s, 短日期格式());
    return 日期在范围内(local) ? std::optional<QDate>(local) : std::nullopt;
}

bool 是日期(const QString &text) {
    return 读日期(text).has_value();
}
