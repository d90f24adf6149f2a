#include "settings/archive_settings.h"

#include "common/app_dir.h"
#include "common/varnel_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

// The setup program puts its commented example there; VARNEL_SETTINGS_DIR names another folder.
QString 系统设置文件() {
    const QString folder = qEnvironmentVariable("VARNEL_SETTINGS_DIR");
    if (!folder.isEmpty())
        return QDir(QDir::fromNativeSeparators(folder)).filePath(QStringLiteral("varnel.ini"));
#ifdef Q_OS_WIN
    const QString data = qEnvironmentVariable("ProgramData", QStringLiteral("C:\\ProgramData"));
    return QDir::fromNativeSeparators(data) + QStringLiteral("/Varnel/varnel.ini");
#else
    return QStringLiteral("/etc/varnel/varnel.ini");
#endif
}

namespace {

[[noreturn]] void 设置错误(const QString &file, int line, const QString &what,
                           const QString &todo) {
    throw VarnelError(
        QStringLiteral("设置文件 %1 第 %2 行%3。%4")
            .arg(QDir::toNativeSeparators(file))
            .arg(line)
            .arg(what, todo));
}

[[noreturn]] void 分号错误(const QString &file, int line) {
    设置错误(file, line, QStringLiteral("的连接串里有分号（;）或空字符"),
             QStringLiteral("请删去它：连接串的各项之间用空格分开"));
}

bool 是空白(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v';
}

// The keys libpq (of PostgreSQL 15) reads in a connection string.
const QStringList &libpq的键() {
    static const QStringList keys = QStringLiteral(
        "host hostaddr port dbname user password passfile channel_binding connect_timeout "
        "client_encoding options application_name fallback_application_name keepalives "
        "keepalives_idle keepalives_interval keepalives_count tcp_user_timeout replication "
        "gssencmode sslmode requiressl sslcompression sslcert sslkey sslpassword sslrootcert sslcrl "
        "sslcrldir sslsni requirepeer ssl_min_protocol_version ssl_max_protocol_version krbsrvname "
        "gsslib service target_session_attrs").split(u' ');
    return keys;
}

// One value of a connection string, from `i` on: between single quotes, or up to the next blank;
// a backslash takes the next character as it is. False when a quote is not closed or the value
// ends in a lone backslash (the blank the program appends after it would become part of it).
bool 读值(const QString &s, qsizetype &i) {
    const bool quoted = i < s.size() && s[i] == u'\'';
    if (quoted)
        ++i;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == u'\\') {
            i += 2;
            if (i > s.size())
                return false;
            continue;
        }
        if (quoted ? c == u'\'' : 是空白(c))
            break;
        ++i;
    }
    if (!quoted)
        return true;
    if (i >= s.size())
        return false;
    ++i;
    return true;
}

// The three keys as written, their lines (0 for a key not written) and the fee schedule's year.
struct 设置行 {
    int 连接 = 0, 法院 = 0, 标准 = 0;
    QString 连接串, 法院名称;
    int 收费标准 = 0;
};

// [fees] standard: 1989 or 2007, the fee schedule the fee calculator opens with.
int 检查收费标准(const QString &file, int n, const QString &value) {
    if (value != QStringLiteral("1989") && value != QStringLiteral("2007"))
        设置错误(file, n, QStringLiteral("的 standard 是“%1”").arg(value),
                 QStringLiteral("只能是 1989 或 2007，请改正这一行"));
    return value.toInt();
}

// A value as written after its "=": without the blanks around it and without double quotes
// around the whole of it. Nothing else is taken away or decoded (no ';' comment, no ',' list, no
// escapes), so that the program uses what the office reads in the file.
QString 写下的值(QStringView rest) {
    qsizetype from = 0, to = rest.size();
    while (from < to && 是空白(rest[from]))
        ++from;
    while (to > from && 是空白(rest[to - 1]))
        --to;
    if (to - from >= 2 && rest[from] == u'"' && rest[to - 1] == u'"')
        ++from, --to;
    return rest.mid(from, to - from).toString();
}

// Reads the lines of the file. A line ends at LF or CR LF: a CR elsewhere, which some programs
// take for the end of a line, is refused, and so is a line ending in a backslash, which some
// take for a line going on in the next, so that no program reads another line than this one.
// Comments (; or #) may be in any encoding; every other line must be UTF-8.
设置行 读各行(const QString &file, const QByteArray &bytes) {
    static const QRegularExpression section(QStringLiteral(R"(^\[\s*([^\]]*?)\s*\]$)"));
    static const QRegularExpression keyValue(QStringLiteral(R"(^([^=]*?)\s*=)"));
    const QString archive = QStringLiteral("archive"), office = QStringLiteral("office"),
                  fees = QStringLiteral("fees");
    const QString connection = QStringLiteral("connection"), court = QStringLiteral("court"),
                  standard = QStringLiteral("standard");
    const QList<QByteArray> lines = bytes.split('\n');
    QString current; // the section of the line
    设置行 found;
    for (int n = 1; n <= lines.size(); ++n) {
        QByteArray raw = lines[n - 1];
        if (n == 1 && raw.startsWith("\xEF\xBB\xBF")) // the mark some editors put first
            raw.remove(0, 3);
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.contains('\r'))
            设置错误(file, n, QStringLiteral("中间有一个单独的回车符（CR），有的程序把它当作换行"),
                     QStringLiteral("请用文本编辑器在这里分行（或删去它），再保存这个文件"));
        raw = raw.trimmed();
        if (raw.isEmpty() || raw.startsWith(';') || raw.startsWith('#'))
            continue;
        if (!raw.isValidUtf8())
            设置错误(file, n, QStringLiteral("不是 UTF-8 编码的"),
                     QStringLiteral("请用文本编辑器把这个文件另存为 UTF-8 编码的文件"));
        const QString line = QString::fromUtf8(raw);
        if (line.endsWith(u'\\'))
            设置错误(file, n,
                     QStringLiteral("以反斜杠（\\）结尾，有的程序会把下一行接到这一行后面"),
                     QStringLiteral("请删去行尾的反斜杠"));
        if (const auto m = section.match(line); m.hasMatch()) {
            current = m.captured(1);
            if (current != archive && current != office && current != fees)
                设置错误(file, n, QStringLiteral("的一节“%1”不是本程序的设置").arg(line),
                         QStringLiteral("这个文件只能有 [archive]、[office] 和 [fees] 三节，"
                                        "请删去这一节"));
            continue;
        }
        const auto m = keyValue.match(line);
        if (!m.hasMatch())
            设置错误(file, n, QStringLiteral("不是“名称=值”的格式"),
                     QStringLiteral("请改正这一行，或在行首加 ; 使它成为注释"));
        const QString key = m.captured(1);
        // A commented-out section header: deleting the line, as for a stray key, would put the
        // PC back on its own file without a word.
        for (const auto &[wanted, in] :
             {std::pair{connection, archive}, {court, office}, {standard, fees}})
            if (key == wanted && current != in)
                设置错误(file, n, QStringLiteral("的 %1 前面缺少 [%2] 一节的标题").arg(key, in),
                         QStringLiteral("请在这一行前面加上一行 [%1]（标题前不能有 ; 或 #）").arg(in));
        if (key != connection && key != court && key != standard)
            设置错误(file, n, QStringLiteral("的“%1”不是本程序的设置").arg(key),
                     QStringLiteral("这个文件只能在 [archive] 一节中写 connection，在 [office] "
                                    "一节中写 court，在 [fees] 一节中写 standard，请删去这一行"));
        int &at = key == connection ? found.连接 : key == court ? found.法院 : found.标准;
        if (at)
            设置错误(file, n, QStringLiteral("又写了一次 %1").arg(key),
                     QStringLiteral("只能写一次，请删去多余的一行"));
        at = n;
        const QString value = 写下的值(QStringView(line).mid(m.capturedEnd()));
        if (key == connection)
            found.连接串 = value;
        else if (key == court)
            found.法院名称 = value;
        else
            found.收费标准 = 检查收费标准(file, n, value);
    }
    return found;
}

} // namespace

namespace {

// The file of the name in the application directory, else in the system folder.
QString 找设置文件(const QString &应用目录, const QString &系统文件, const QString &名称) {
    const QString local = 加尾分隔符(应用目录) + 名称;
    if (QFileInfo::exists(local))
        return local;
    return QFileInfo::exists(系统文件) ? 系统文件 : QString();
}

} // namespace

QString 设置文件(const QString &应用目录, const QString &系统文件) {
    return 找设置文件(应用目录, 系统文件, QStringLiteral("varnel.ini"));
}

QString 设置旁文件(const QString &名称) {
    return 找设置文件(应用目录(), QFileInfo(系统设置文件()).dir().filePath(名称), 名称);
}

QStringList 连接串的键(const QString &s, QString *错误) {
    QStringList keys;
    qsizetype i = 0;
    auto skip = [&] {
        while (i < s.size() && 是空白(s[i]))
            ++i;
    };
    for (skip(); i < s.size(); skip()) {
        const qsizetype start = i;
        while (i < s.size() && s[i] != u'=' && !是空白(s[i]))
            ++i;
        const QString key = s.mid(start, i - start);
        skip();
        if (key.isEmpty() || i >= s.size() || s[i] != u'=') {
            *错误 = QStringLiteral("“%1”后面缺少“=值”").arg(key);
            return {};
        }
        ++i;
        const qsizetype afterSign = i;
        skip();
        const qsizetype valueStart = i;
        const bool ok = 读值(s, i);
        // An empty value: libpq would take the next key=value, or what the program appends, as
        // the value.
        if (valueStart >= s.size() ||
            (valueStart > afterSign && s[valueStart] != u'\'' &&
             s.mid(valueStart, i - valueStart).contains(u'='))) {
            *错误 = QStringLiteral("“%1=”后面没有值（空值请写成 %1=''）").arg(key);
            return {};
        }
        if (!ok) {
            *错误 = s.endsWith(u'\\')
                        ? QStringLiteral("“%1”的值以反斜杠结尾").arg(key)
                        : QStringLiteral("“%1”的值少了结尾的单引号").arg(key);
            return {};
        }
        keys << key;
    }
    return keys;
}

档案设置 读档案设置(const QString &file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw VarnelError(QStringLiteral("不能读设置文件 %1。请检查这个文件的读取权限。\n（%2）")
                              .arg(QDir::toNativeSeparators(file), f.errorString()));
    const 设置行 lines = 读各行(file, f.readAll());
    档案设置 result{file, lines.连接串, lines.法院名称};
    result.收费标准 = lines.收费标准;
    // The string handed to libpq is the one checked here, whenever there is one.
    if (result.连接串.isEmpty())
        return result;
    const int line = lines.连接;
    // Qt's driver reads a ";" as a separator of its own, and libpq stops reading at a NUL, so
    // libpq would read another string than the one checked here.
    if (result.连接串.contains(u';') || result.连接串.contains(QChar(0)))
        分号错误(file, line);
    if (result.连接串.startsWith(QStringLiteral("postgres")) && result.连接串.contains(u':'))
        设置错误(file, line, QStringLiteral("的连接串是网址形式"),
                 QStringLiteral("请写成“名称=值”形式，例如 host=db.court.local dbname=varnel"));
    QString error;
    const QStringList keys = 连接串的键(result.连接串, &error);
    if (!error.isEmpty())
        设置错误(file, line, QStringLiteral("的连接串格式不对：") + error,
                 QStringLiteral("请按“名称=值 名称=值”的形式改正"));
    for (const QString &key : keys)
        if (!libpq的键().contains(key))
            设置错误(file, line, QStringLiteral("的连接串里的“%1”不是数据库连接的设置").arg(key),
                     QStringLiteral("请改正或删去它"));
    if (keys.contains(QStringLiteral("password")) || keys.contains(QStringLiteral("sslpassword")))
        设置错误(file, line, QStringLiteral("的连接串里写了密码（password=）"),
                 QStringLiteral("密码不能写在设置文件里：请删去它，把密码写进 %1 文件（或 "
                                "PGPASSFILE 所指的文件），数据库程序会在那里找到它")
                     .arg(口令文件()));
    return result;
}

QString 口令文件() {
#ifdef Q_OS_WIN
    return QStringLiteral("%APPDATA%\\postgresql\\pgpass.conf");
#else
    return QStringLiteral("~/.pgpass");
#endif
}

档案设置 当前档案设置() {
    const QString file = 设置文件(应用目录(), 系统设置文件());
    return file.isEmpty() ? 档案设置{} : 读档案设置(file);
}

QString 补全连接串(const QString &连接串) {
    QString error;
    const QStringList keys = 连接串的键(连接串, &error);
    QString result = 连接串;
    if (!keys.contains(QStringLiteral("connect_timeout")))
        result += QStringLiteral(" connect_timeout=5");
    if (!keys.contains(QStringLiteral("application_name")))
        result += QStringLiteral(" application_name=varnel");
    // TCP keepalives, so that the server notices a PC that went away and frees its locks.
    for (const auto &[key, value] :
         {std::pair{"keepalives_idle", "30"}, {"keepalives_interval", "10"}, {"keepalives_count", "3"}})
        if (!keys.contains(QLatin1String(key)))
            result += QStringLiteral(" %1=%2").arg(QLatin1String(key), QLatin1String(value));
    return result;
}
