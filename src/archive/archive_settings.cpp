#include "archive/archive_settings.h"

#include "common/app_dir.h"
#include "common/varnel_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

// The setup program puts its commented example there.
QString 系统设置文件() {
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

// The lines of the three keys, 0 for a key not written, and the fee schedule's year.
struct 设置行 {
    int 连接 = 0, 法院 = 0, 标准 = 0;
    int 收费标准 = 0;
};

// [fees] standard: 1989 or 2007, the fee schedule the fee calculator opens with.
int 检查收费标准(const QString &file, int n, const QString &value) {
    if (value != QStringLiteral("1989") && value != QStringLiteral("2007"))
        设置错误(file, n, QStringLiteral("的 standard 是“%1”").arg(value),
                 QStringLiteral("只能是 1989 或 2007，请改正这一行"));
    return value.toInt();
}

// Checks the line structure of the file.
设置行 检查各行(const QString &file, const QString &text) {
    static const QRegularExpression section(QStringLiteral(R"(^\[\s*([^\]]*?)\s*\]$)"));
    static const QRegularExpression keyValue(QStringLiteral(R"(^([^=]*?)\s*=)"));
    const QString archive = QStringLiteral("archive"), office = QStringLiteral("office"),
                  fees = QStringLiteral("fees");
    const QString connection = QStringLiteral("connection"), court = QStringLiteral("court"),
                  standard = QStringLiteral("standard");
    const QStringList lines = text.split(u'\n');
    QString current; // the section of the line
    设置行 found;
    for (int n = 1; n <= lines.size(); ++n) {
        const QString line = lines[n - 1].trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
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
        // The settings reader would end the value at a ";" (a comment), and Qt's driver reads
        // one as a separator of its own: a ";" anywhere in the value is refused.
        if (key == connection && line.mid(m.capturedEnd()).contains(u';'))
            分号错误(file, n);
        int &at = key == connection ? found.连接 : key == court ? found.法院 : found.标准;
        if (at)
            设置错误(file, n, QStringLiteral("又写了一次 %1").arg(key),
                     QStringLiteral("只能写一次，请删去多余的一行"));
        at = n;
        if (key == standard)
            found.收费标准 = 检查收费标准(file, n, line.mid(m.capturedEnd()).trimmed());
    }
    return found;
}

// A value of the file as written: QSettings splits a value at its commas (libpq's lists of
// hosts, a court's name), which are put back.
QString 设置值(const QSettings &settings, const QString &key) {
    const QVariant value = settings.value(key);
    return (value.typeId() == QMetaType::QStringList ? value.toStringList().join(u',')
                                                     : value.toString())
        .trimmed();
}

} // namespace

QString 设置文件(const QString &应用目录, const QString &系统文件) {
    const QString local = 加尾分隔符(应用目录) + QStringLiteral("varnel.ini");
    if (QFileInfo::exists(local))
        return local;
    return QFileInfo::exists(系统文件) ? 系统文件 : QString();
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
    const 设置行 lines = 检查各行(file, QString::fromUtf8(f.readAll()));
    QSettings settings(file, QSettings::IniFormat);
    档案设置 result{file, 设置值(settings, QStringLiteral("archive/connection")),
                    设置值(settings, QStringLiteral("office/court"))};
    result.收费标准 = lines.收费标准;
    // A court's name saved in another encoding than UTF-8 (an older Notepad's GBK) would reach
    // the document garbled. Comments in any encoding do no harm.
    if (result.法院名称.contains(QChar::ReplacementCharacter))
        设置错误(file, lines.法院, QStringLiteral("的法院名称不是 UTF-8 编码的"),
                 QStringLiteral("请用文本编辑器把这个文件另存为 UTF-8 编码的文件"));
    if (!lines.连接)
        return result;
    const int line = lines.连接;
    if (result.连接串.startsWith(QStringLiteral("postgres")) && result.连接串.contains(u':'))
        设置错误(file, line, QStringLiteral("的连接串是网址形式"),
                 QStringLiteral("请写成“名称=值”形式，例如 host=db.court.local dbname=varnel"));
    QString error;
    const QStringList keys = 连接串的键(result.连接串, &error);
    if (!error.isEmpty())
        设置错误(file, line, QStringLiteral("的连接串格式不对：") + error,
                 QStringLiteral("请按“名称=值 名称=值”的形式改正"));
    // Escapes (\x3b, \073, \0) the settings reader turns into ";" or a NUL: Qt's driver turns
    // ";" into a blank, and libpq stops reading at a NUL, so libpq would read another string
    // than the one checked here.
    if (result.连接串.contains(u';') || result.连接串.contains(QChar(0)))
        分号错误(file, line);
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
