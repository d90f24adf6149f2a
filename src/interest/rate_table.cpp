#include "interest/rate_table.h"

#include "common/date_text.h"
#include "common/varnel_error.h"
#include "settings/archive_settings.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>

namespace {

const char *const 种类名[利率种类数] = {"LPR1Y",  "LPR5Y",  "BASE6M", "BASE1Y",
                                        "BASE3Y", "BASE5Y", "BASE5Y+"};

int 序(利率种类 kind) {
    return int(kind);
}

[[noreturn]] void 文件错误(const QString &file, int line, const QString &what) {
    throw VarnelError(QStringLiteral("利率表文件 %1 第 %2 行%3。这个文件的利率都没有采用，"
                                     "请改正后再计算。")
                          .arg(QDir::toNativeSeparators(file))
                          .arg(line)
                          .arg(what));
}

// One line of the file as a publication; raises naming the line.
利率公布 读一行(const QString &file, int n, const QString &line) {
    const QStringList fields = line.split(u',');
    if (fields.size() != 3)
        文件错误(file, n, QStringLiteral("不是“日期,种类,年利率”三项"));
    const auto date = 读日期(fields[0]);
    if (!date)
        文件错误(file, n, QStringLiteral("的日期“%1”不是日期").arg(fields[0].trimmed()));
    const auto kind = 利率种类名(fields[1].trimmed());
    if (!kind)
        文件错误(file, n,
                 QStringLiteral("的种类“%1”不是 LPR1Y、LPR5Y、BASE6M、BASE1Y、BASE3Y、BASE5Y、"
                                "BASE5Y+ 之一")
                     .arg(fields[1].trimmed()));
    const auto rate = 读分数(fields[2]);
    if (!rate || *rate <= 分数(0) || 分数(100) <= *rate)
        文件错误(file, n,
                 QStringLiteral("的年利率“%1”不是大于0、小于100的百分数").arg(fields[2].trimmed()));
    if (是基准利率(*kind) && *date > 基准利率末日())
        文件错误(file, n, QStringLiteral("的基准利率晚于2019年8月19日（其后不再公布基准利率）"));
    if (!是基准利率(*kind) && *date < LPR首日())
        文件错误(file, n, QStringLiteral("的LPR早于2019年8月20日（首次公布之日）"));
    return {*date, *kind, *rate};
}

} // namespace

std::optional<利率种类> 利率种类名(const QString &text) {
    for (int i = 0; i < 利率种类数; ++i)
        if (text == QLatin1String(种类名[i]))
            return 利率种类(i);
    return std::nullopt;
}

bool 是基准利率(利率种类 kind) {
    return kind != 利率种类::LPR1Y && kind != 利率种类::LPR5Y;
}

QDate LPR首日() {
    return QDate(2019, 8, 20);
}

QDate 基准利率末日() {
    return QDate(2019, 8, 19);
}

void 利率表::加入(const 利率公布 &row) {
    auto &rows = 各种类[序(row.种类)];
    const auto at = std::lower_bound(rows.begin(), rows.end(), row.日期,
                                     [](const 利率公布 &r, const QDate &d) { return r.日期 < d; });
    if (at != rows.end() && at->日期 == row.日期)
        *at = row;
    else
        rows.insert(at, row);
}

std::optional<利率公布> 利率表::当日(利率种类 kind, const QDate &day) const {
    if (是基准利率(kind) && day > 基准利率末日())
        return std::nullopt;
    const auto &rows = 各种类[序(kind)];
    const auto after =
        std::upper_bound(rows.begin(), rows.end(), day,
                         [](const QDate &d, const 利率公布 &r) { return d < r.日期; });
    if (after == rows.begin())
        return std::nullopt;
    return *(after - 1);
}

QList<QDate> 利率表::变动日(利率种类 kind, const QDate &from, const QDate &to) const {
    QList<QDate> days;
    for (const auto &row : 各种类[序(kind)])
        if (row.日期 > from && row.日期 <= to)
            days.append(row.日期);
    return days;
}

QDate 利率表::最近公布(利率种类 kind) const {
    const auto &rows = 各种类[序(kind)];
    return rows.isEmpty() ? QDate() : rows.last().日期;
}

QDate 利率表::截至() const {
    QDate latest;
    for (const auto &rows : 各种类)
        if (!rows.isEmpty() && (!latest.isValid() || rows.last().日期 > latest))
            latest = rows.last().日期;
    return latest;
}

QList<利率公布> 读利率文件(const QString &file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw VarnelError(QStringLiteral("不能读利率表文件 %1。请检查这个文件的读取权限。")
                              .arg(QDir::toNativeSeparators(file)));
    QList<利率公布> rows;
    QSet<QString> seen;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray bytes = lines[i];
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        if (i == 0 && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString line = utf8.decode(bytes);
        if (utf8.hasError())
            文件错误(file, i + 1, QStringLiteral("不是UTF-8编码"));
        if (line.trimmed().isEmpty() ||
            (i == 0 && QString(line).remove(u' ') == QStringLiteral("日期,种类,年利率")))
            continue;
        const 利率公布 row = 读一行(file, i + 1, line);
        const QString key = row.日期.toString(Qt::ISODate) + QLatin1String(种类名[序(row.种类)]);
        if (seen.contains(key))
            文件错误(file, i + 1, QStringLiteral("的日期和种类在前面已经有了"));
        seen.insert(key);
        rows.append(row);
    }
    return rows;
}

QString 利率文件() {
    return 设置旁文件(QStringLiteral("利率表.csv"));
}

利率表 当前利率表() {
    利率表 table = 利率表::内置();
    const QString file = 利率文件();
    if (!file.isEmpty())
        for (const auto &row : 读利率文件(file))
            table.加入(row);
    return table;
}
