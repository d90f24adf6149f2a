#include "casefund/recovery_file.h"

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

#include <algorithm>

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

std::unique_ptr<QLockFile> 新锁(const QString &path) {
    auto lock = std::make_unique<QLockFile>(锁名(path));
    lock->setStaleLockTime(0); // only a program that no longer runs lets its file go
    return lock;
}

} // namespace

QByteArray 恢复文本(const 恢复内容 &c) {
    QJsonObject o;
    o[QStringLiteral("程序")] = QStringLiteral("Varnel 案款分配计算");
    o[QStringLiteral("时间")] = c.时间.toString(Qt::ISODate);
    o[QStringLiteral("案件号")] = c.案件号;
    o[QStringLiteral("案件名称")] = c.案件名称;
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
    c.表 = {读行组(o.value(QStringLiteral("交款")), 4), 读行组(o.value(QStringLiteral("债权")), 6)};
    c.读出时行 = {读行组(o.value(QStringLiteral("读出时交款")), 4),
                  读行组(o.value(QStringLiteral("读出时债权")), 6)};
    if (!c.时间.isValid())
        return std::nullopt;
    return c;
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
        删();
        名 = QDir(folder).filePath(前缀 + QStringLiteral("%1-%2.json")
                                             .arg(QCoreApplication::applicationPid())
                                             .arg(QDateTime::currentMSecsSinceEpoch()));
    }
    if (!锁) {
        锁 = 新锁(路径());
        if (!锁->tryLock(0)) {
            锁.reset();
            throw VarnelError(QStringLiteral("不能在程序目录中建立恢复文件，没有保存的内容在程序"
                                             "意外退出时会丢失。"));
        }
    }
    QSaveFile file(路径());
    if (!file.open(QIODevice::WriteOnly) || file.write(恢复文本(content)) < 0 || !file.commit())
        throw VarnelError(QStringLiteral("不能写入恢复文件：") + file.errorString());
}

// The lock goes with the file: a folder without unsaved work holds nothing of this program's.
void 本程序恢复文件::删() {
    if (!名.isEmpty())
        QFile::remove(名);
    锁.reset();
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
        if (path == own)
            continue;
        std::shared_ptr<QLockFile> lock = 新锁(path);
        if (!lock->tryLock(0))
            continue; // its program is running
        QFile file(path);
        const auto content =
            file.open(QIODevice::ReadOnly) ? 读恢复文本(file.readAll()) : std::nullopt;
        if (!content)
            continue;
        found.append({path, *content, lock});
    }
    std::sort(found.begin(), found.end(),
              [](const 遗留恢复 &a, const 遗留恢复 &b) { return a.内容.时间 < b.内容.时间; });
    return found;
}
