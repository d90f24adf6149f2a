#include "casefund/recovery_file.h"

#include "settings/archive_settings.h"
#include "archive/database.h"
#include "common/app_dir.h"
#include "common/number_text.h"
#include "common/varnel_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSysInfo>

#include <algorithm>
#include <chrono>
#include <utility>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QString 前缀 = QStringLiteral("varnel-恢复-");

QJsonArray 行组(const QList<QStringList> &rows) {
    QJsonArray out;
    for (const QStringList &row : rows)
        out.append(QJsonArray::fromStringList(row));
    return out;
}

QList<QStringList> 读行组(const QJsonValue &value, qsizetype columns) {
    QList<QStringList> rows;
    for (const QJsonValue &row : value.toArray()) {
        QStringList cells;
        for (const QJsonValue &cell : row.toArray())
            cells << cell.toString();
        cells.resize(columns);
        rows << cells;
    }
    return rows;
}

// The lock file of a recovery file: the same name with .lock for .json.
QString 锁名(const QString &path) {
    return path.left(path.size() - 4) + QStringLiteral("lock");
}

constexpr auto 私有 = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

std::unique_ptr<QLockFile> 新锁(const QString &path) {
    auto lock = std::make_unique<QLockFile>(锁名(path));
    lock->setStaleLockTime(0); // only a program that no longer runs lets its file go
    return lock;
}

// Takes the lock if it is free; the lock file it writes is the clerk's own.
bool 上锁(QLockFile &lock, const QString &path) {
    if (!lock.tryLock(0))
        return false;
    QFile::setPermissions(锁名(path), 私有);
    return true;
}

// Whether a file in the folder is another user's: such a file is never read, offered or removed.
bool 别人的(const QString &file) {
#ifdef Q_OS_UNIX
    const QFileInfo info(file);
    return info.exists() && info.ownerId() != ::getuid();
#else
    Q_UNUSED(file)
    return false; // the application directory lies in the clerk's own profile
#endif
}

// Whether a lock's lines name this machine, judged as QLockFile judges it: by the machine's id
// where the lock has one, else by the name QLockFile writes (COMPUTERNAME on Windows, which may
// differ from the host name in letter case, and the host name elsewhere).
bool 本机的锁(const QList<QByteArray> &lines) {
    const QByteArray id = lines.value(3).trimmed(), ours = QSysInfo::machineUniqueId();
    if (!id.isEmpty() && !ours.isEmpty())
        return id == ours;
    const QString host = QString::fromUtf8(lines.value(2).trimmed());
#ifdef Q_OS_WIN
    const QString here = qEnvironmentVariable("COMPUTERNAME");
#else
    const QString here = QSysInfo::machineHostName();
#endif
    return host.isEmpty() || host == here;
}

// The locks QLockFile cannot judge: one that names no process (cut short by a power cut) and one
// of another host, whose process cannot be looked up here and counts as gone after a day. A lock
// of this host names a process QLockFile has already found running.
bool 锁已失效(const QString &lockFile) {
    QFile file(lockFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool named = false;
    lines.value(0).trimmed().toLongLong(&named);
    if (!named)
        return true;
    if (本机的锁(lines))
        return false;
    using namespace std::chrono;
    const QDateTime written = QFileInfo(file).lastModified();
    return written.msecsTo(QDateTime::currentDateTime()) >
           duration_cast<milliseconds>(days(1)).count();
}

// The lock of a left-over file, taken; nullptr while another program holds it. A stale lock is
// removed first, one program at a time, and only when no running program holds it.
std::shared_ptr<QLockFile> 取遗留锁(const QString &path) {
    std::shared_ptr<QLockFile> lock = 新锁(path);
    if (上锁(*lock, path))
        return lock;
    if (!锁已失效(锁名(path)))
        return nullptr;
    // Judged again under the removal lock: another program may have taken the file meanwhile.
    QLockFile removing(锁名(path) + QStringLiteral(".rmlock"));
    if (removing.tryLock(0) && 锁已失效(锁名(path)) && lock->removeStaleLockFile() &&
        上锁(*lock, path))
        return lock;
    return nullptr;
}

} // namespace

QByteArray 恢复文本(const 恢复内容 &c) {
    QJsonObject o;
    o[QStringLiteral("程序")] = QStringLiteral("Varnel 案款分配计算");
    o[QStringLiteral("时间")] = c.时间.toString(Qt::ISODate);
    o[QStringLiteral("案件号")] = c.案件号;
    o[QStringLiteral("案件名称")] = c.案件名称;
    o[QStringLiteral("档案")] = c.档案;
    o[QStringLiteral("交款")] = 行组(c.表.交款);
    o[QStringLiteral("债权")] = 行组(c.表.债权);
    o[QStringLiteral("读出时交款")] = 行组(c.读出时行.交款);
    o[QStringLiteral("读出时债权")] = 行组(c.读出时行.债权);
    return QJsonDocument(o).toJson();
}

std::optional<恢复内容> 读恢复文本(const QByteArray &text) {
    const QJsonObject o = QJsonDocument::fromJson(text).object();
    if (o.value(QStringLiteral("程序")).toString() != QStringLiteral("Varnel 案款分配计算"))
        return std::nullopt;
    恢复内容 c;
    c.时间 = QDateTime::fromString(o.value(QStringLiteral("时间")).toString(), Qt::ISODate);
    c.案件号 = o.value(QStringLiteral("案件号")).toInt();
    c.案件名称 = o.value(QStringLiteral("案件名称")).toString();
    c.档案 = o.value(QStringLiteral("档案")).toString();
    c.表 = {读行组(o.value(QStringLiteral("交款")), 4), 读行组(o.value(QStringLiteral("债权")), 6)};
    c.读出时行 = {读行组(o.value(QStringLiteral("读出时交款")), 4),
                  读行组(o.value(QStringLiteral("读出时债权")), 6)};
    if (!c.时间.isValid())
        return std::nullopt;
    return c;
}

QString 当前档案名() {
    try {
        const 档案设置 settings = 当前档案设置();
        return settings.在服务器上() ? settings.连接串
                                     : QFileInfo(案件数据库文件()).absoluteFilePath();
    } catch (const VarnelError &) {
        return {}; // the archive commands say what is wrong with the settings
    }
}

恢复内容 归入当前档案(const 恢复内容 &content) {
    const QString archive = 当前档案名();
    if (!archive.isEmpty() && content.档案 == archive)
        return content;
    恢复内容 fresh = content;
    fresh.案件号 = 0;
    fresh.案件名称.clear();
    fresh.读出时行 = {};
    fresh.档案 = archive;
    return fresh;
}

int 有内容债权行数(const 恢复内容 &content) {
    // The distributed amount (column 4) is worked out, not typed: it makes no row a claim.
    return int(std::count_if(content.表.债权.cbegin(), content.表.债权.cend(),
                             [](const QStringList &row) {
                                 for (qsizetype k = 0; k < row.size(); ++k)
                                     if (k != 4 && !row[k].trimmed().isEmpty())
                                         return true;
                                 return false;
                             }));
}

本程序恢复文件 &本程序恢复文件::实例() {
    static 本程序恢复文件 file;
    return file;
}

QString 本程序恢复文件::路径() const {
    return 名;
}

void 本程序恢复文件::写(const 恢复内容 &content) {
    // The file lies in the application directory of the moment; one left in another is let go.
    const QString folder = QDir(去尾空格(应用目录())).absolutePath();
    if (名.isEmpty() || QFileInfo(名).absolutePath() != folder) {
        删本文件();
        名 = QDir(folder).filePath(前缀 + QStringLiteral("%1-%2.json")
                                             .arg(QCoreApplication::applicationPid())
                                             .arg(QDateTime::currentMSecsSinceEpoch()));
    }
    写失败 = true; // until the file holds this content
    if (!锁) {
        锁 = 新锁(路径());
        if (!上锁(*锁, 路径())) {
            锁.reset();
            throw VarnelError(QStringLiteral("不能在程序目录中建立恢复文件，没有保存的内容在程序"
                                             "意外退出时会丢失。"));
        }
    }
    // The text is flushed before the commit: QSaveFile takes a failed flush inside commit() (a
    // full disk) for success and puts an empty file in place of the last good one.
    QSaveFile file(路径());
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(私有) ||
        file.write(恢复文本(content)) < 0 || !file.flush() || !file.commit())
        throw VarnelError(QStringLiteral("不能写入恢复文件：") + file.errorString());
    写失败 = false;
    放下接替的();
}

void 本程序恢复文件::删() {
    删本文件();
    放下接替的();
    写失败 = false;
}

// The lock goes with the file: a folder without unsaved work holds nothing of this program's.
void 本程序恢复文件::删本文件() {
    if (!名.isEmpty())
        QFile::remove(名);
    锁.reset();
}

void 本程序恢复文件::接替(const 遗留恢复 &left) {
    接替的.append(left);
    if (!写失败)
        放下接替的();
}

void 本程序恢复文件::放下接替的() {
    for (const 遗留恢复 &left : std::exchange(接替的, {}))
        left.删();
}

void 遗留恢复::删() const {
    QFile::remove(路径);
    锁->unlock();
}

QList<遗留恢复> 找遗留恢复(const QString &dir) {
    QList<遗留恢复> found;
    const QString own = 本程序恢复文件::实例().路径();
    const QDir folder(dir);
    for (const QString &name :
         folder.entryList({前缀 + QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        const QString path = folder.filePath(name);
        if (path == own || 别人的(path) || 别人的(锁名(path)))
            continue;
        const std::shared_ptr<QLockFile> lock = 取遗留锁(path);
        if (!lock)
            continue; // its program is running
        QFile file(path);
        const auto content =
            file.open(QIODevice::ReadOnly) ? 读恢复文本(file.readAll()) : std::nullopt;
        if (!content)
            continue;
        found.append({path, *content, lock});
    }
    // A stale lock left without its file (a crash between the two removals) is taken and let
    // go, which removes it.
    for (const QString &name :
         folder.entryList({前缀 + QStringLiteral("*.lock")}, QDir::Files, QDir::Name)) {
        const QString path = folder.filePath(name.chopped(4) + QStringLiteral("json"));
        if (!QFileInfo::exists(path) && !别人的(folder.filePath(name)))
            取遗留锁(path);
    }
    std::sort(found.begin(), found.end(),
              [](const 遗留恢复 &a, const 遗留恢复 &b) { return a.内容.时间 < b.内容.时间; });
    return found;
}
