#include "output/spreadsheet_files.h"

#include "common/number_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSaveFile>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

QString 表格文件名(const QString &directory, int n) {
    return 去尾空格(directory) + QStringLiteral("案款分配表") + QString::number(n) +
           QStringLiteral(".xlsx");
}

namespace {

// A copy that a spreadsheet program still has open: the program keeps a lock file beside it
// (".~lock.<name>#"). Where the system lets an open file be deleted, this is what tells that it
// is still in use.
bool 仍被打开(const QString &path) {
    const QFileInfo info(path);
    return QFileInfo::exists(
        info.dir().filePath(QStringLiteral(".~lock.") + info.fileName() + QLatin1Char('#')));
}

// A file as the export left it: its size in bytes and its modification time in milliseconds.
// A spreadsheet program that saves the copy changes the time, and mostly the size too.
struct 印记 {
    qint64 大小 = -1;
    qint64 时间 = 0;
    bool operator==(const 印记 &) const = default;
};

印记 现在的印记(const QString &path) {
    const QFileInfo info(path);
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

// The copies of one folder the export wrote and the purge has not deleted, by file name.
using 记录表 = QMap<QString, 印记>;

// The same for this run, by full path: it holds even when the list file cannot be written.
QHash<QString, 印记> &本次记录() {
    static QHash<QString, 印记> records;
    return records;
}

QString 记录文件(const QDir &dir) {
    return dir.filePath(QStringLiteral(".案款分配表副本"));
}

// The leading dot hides the list file on Linux; on Windows it takes the hidden attribute, so
// that a clerk does not see it in Explorer and delete it. Each save puts a new file in place, so
// the attribute is given after every save.
void 设为隐藏(const QString &path) {
#ifdef Q_OS_WIN
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(name.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
#else
    Q_UNUSED(path);
#endif
}

// The list file of the folder ("size<TAB>time<TAB>name" a line; an unreadable line is
// skipped) with this run's records over it.
记录表 读记录(const QDir &dir) {
    记录表 records;
    QFile f(记录文件(dir));
    if (f.open(QIODevice::ReadOnly | QIODevice::Text))
        while (!f.atEnd()) {
            const QStringList parts = QString::fromUtf8(f.readLine()).trimmed().split(u'\t');
            bool sized = false, timed = false;
            const 印记 mark{parts.value(0).toLongLong(&sized), parts.value(1).toLongLong(&timed)};
            if (parts.size() == 3 && sized && timed && !parts[2].isEmpty())
                records[parts[2]] = mark;
        }
    for (auto it = 本次记录().cbegin(); it != 本次记录().cend(); ++it) {
        const QFileInfo info(it.key());
        if (info.absolutePath() == dir.absolutePath())
            records[info.fileName()] = it.value();
    }
    return records;
}

// Keeps the records of the folder, for this run and in its list file; the list goes when it
// is empty. A list that cannot be written is passed over silently: this run still knows.
void 存记录(const QDir &dir, const 记录表 &records) {
    for (auto it = 本次记录().begin(); it != 本次记录().end();)
        it = QFileInfo(it.key()).absolutePath() == dir.absolutePath() ? 本次记录().erase(it)
                                                                      : std::next(it);
    for (auto it = records.cbegin(); it != records.cend(); ++it)
        本次记录().insert(dir.absoluteFilePath(it.key()), it.value());
    if (records.isEmpty()) {
        删除文件(记录文件(dir));
        return;
    }
    QSaveFile f(记录文件(dir));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    for (auto it = records.cbegin(); it != records.cend(); ++it)
        f.write(QStringLiteral("%1\t%2\t%3\n")
                    .arg(it.value().大小)
                    .arg(it.value().时间)
                    .arg(it.key())
                    .toUtf8());
    if (f.commit())
        设为隐藏(记录文件(dir));
}

} // namespace

// Any file of that name takes the number, hidden or not: a copy cannot be written over it.
QString 空闲表名(const QString &directory) {
    for (int n = 1; n <= 表格文件数; ++n) {
        const QString name = 表格文件名(directory, n);
        if (!QFileInfo::exists(name) && !仍被打开(name))
            return name;
    }
    return QString();
}

void 记下副本(const QString &path) {
    const QFileInfo info(path);
    const QDir dir = info.absoluteDir();
    记录表 records = 读记录(dir);
    records[info.fileName()] = 现在的印记(path);
    存记录(dir, records);
}

// A copy the export wrote and nobody changed since is deleted; a changed one is the clerk's
// own from then on and loses its record. A copy still open keeps its record for a later purge.
void 清除残留表(const QString &directory) {
    const QDir dir(去尾空格(directory));
    记录表 records = 读记录(dir);
    for (int n = 1; n <= 表格文件数; ++n) {
        const QString name = 表格文件名(directory, n);
        删除文件(name + QStringLiteral(".part"));
        const auto it = records.find(QFileInfo(name).fileName());
        if (it == records.end() || 仍被打开(name))
            continue;
        if (QFileInfo::exists(name) && *it == 现在的印记(name))
            删除文件(name);
        if (!QFileInfo::exists(name) || *it != 现在的印记(name))
            records.erase(it);
    }
    存记录(dir, records);
}

void 删除文件(const QString &path) {
    if (QFileInfo::exists(path))
        QFile::remove(path);
}
