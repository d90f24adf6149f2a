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

QString 短日期文本(const QDate &d) {
    return QStringLiteral("%1/%2/%3").arg(d.year()).arg(d.month()).arg(d.day());
}

namespace {

// A year-month-day match; a date only when the triple is a valid calendar day in range.
std::optional<QDate> 日期部分(const QRegularExpressionMatch &m) {
    const QDate d(m.captured(u"y").toInt(), m.captured(u"m").toInt(), m.captured(u"d").toInt());
    return 日期在范围内(d) ? std::optional<QDate>(d) : std::nullopt;
}

// A pattern for a short form made only of numeric fields (d, dd, M, MM, yy, yyyy) and the
// characters between them; empty for any other form (month names, quoted text). The year field
// takes two digits, or four when fourDigitYear is set.
QString 数字日期模式(const QString &format, bool fourDigitYear) {
    QString pattern = QStringLiteral("^");
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        if (c == u'd' && run <= 2)
            pattern += QStringLiteral("(?<d>\\d{1,2})");
        else if (c == u'M' && run <= 2)
            pattern += QStringLiteral("(?<m>\\d{1,2})");
        else if (c == u'y' && (run == 2 || run == 4))
            pattern += fourDigitYear || run == 4 ? QStringLiteral("(?<y>\\d{4})")
                                                 : QStringLiteral("(?<y>\\d{2})");
        else if (c.isLetter() || c == u'\'')
            return QString();
        else
            pattern += QRegularExpression::escape(format.mid(i, run));
        i += run;
    }
    return pattern + u'$';
}

// The locale's short form, with its own year field and with a four-digit year. A two-digit
// year means 1930 to 2029, the desktop's own default window (Qt alone reads "19" as 1919 and
// refuses 29 February 00).
std::optional<QDate> 本地短日期(const QString &s, const QLocale &locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    for (const bool fourDigitYear : {false, true}) {
        const QString pattern = 数字日期模式(format, fourDigitYear);
        if (pattern.isEmpty())
            break;
        const auto m = QRegularExpression(pattern).match(s);
        if (!m.hasMatch())
            continue;
        int year = m.captured(u"y").toInt();
        if (m.capturedLength(u"y") == 2)
            year += year < 30 ? 2000 : 1900;
        const QDate d(year, m.captured(u"m").toInt(), m.captured(u"d").toInt());
        return 日期在范围内(d) ? std::optional<QDate>(d) : std::nullopt;
    }
    QString fourDigits = format;
    if (!fourDigits.contains(QLatin1String("yyyy")))
        fourDigits.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    const QDate d = locale.toDate(s, fourDigits);
    return 日期在范围内(d) ? std::optional<QDate>(d) : std::nullopt;
}

} // namespace

std::optional<QDate> 读日期(const QString &text) {
    return 读日期(text, QLocale::system());
}

std::optional<QDate> 读日期(const QString &text, const QLocale &locale) {
    static const QRegularExpression forms[] = {
        QRegularExpression(QStringLiteral(R"(^(?<y>\d{1,4})([-/.])(?<m>\d{1,2})\2(?<d>\d{1,2})$)")),
        QRegularExpression(
            QStringLiteral(R"(^(?<y>\d{1,4})\s*年\s*(?<m>\d{1,2})\s*月\s*(?<d>\d{1,2})\s*日$)")),
    };
    const QString s = 半角化(text).trimmed();
    if (s.isEmpty())
        return std::nullopt;
    // A year-month-day text that is no day in range (5/10/19 is the year 5) may still be the
    // locale's short form (10 May 2019 in the United States).
    for (const QRegularExpression &form : forms)
        if (const auto m = form.match(s); m.hasMatch())
            if (const auto d = 日期部分(m))
                return d;
    return 本地短日期(s, locale);
}

bool 是日期(const QString &text) {
    return 读日期(text).has_value();
}

namespace {

const QString 中文数字 = QStringLiteral("〇一二三四五六七八九");

// 1 to 31 as they are read: 七, 十, 十二, 二十, 三十一.
QString 月日数(int n) {
    const QString ones = n % 10 ? QString(中文数字[n % 10]) : QString();
    if (n < 10)
        return ones;
    return (n < 20 ? QString() : QString(中文数字[n / 10])) + u'十' + ones;
}

} // namespace

QString 中文日期(const QDate &d) {
    if (!d.isValid() || d.year() < 1 || d.year() > 9999)
        return {};
    QString text;
    for (const QChar c : QString::number(d.year()))
        text += 中文数字[c.digitValue()];
    return text + u'年' + 月日数(d.month()) + u'月' + 月日数(d.day()) + u'日';
}
