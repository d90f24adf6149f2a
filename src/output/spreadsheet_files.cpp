#include "output/spreadsheet_files.h"

#include "common/number_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// The copies of earlier exports, and what an export cut short left of one; a copy still open in
// a spreadsheet program is left alone.
void 清除残留表(const QString &directory) {
    for (int n = 1; n <= 表格文件数; ++n) {
        const QString name = 表格文件名(directory, n);
        if (!仍被打开(name))
            删除文件(name);
        删除文件(name + QStringLiteral(".part"));
    }
}

void 删除文件(const QString &path) {
    if (QFileInfo::exists(path))
        QFile::remove(path);
}
