#include "casefund/spreadsheet_files.h"

#include "common/number_text.h"

#include <QFile>
#include <QFileInfo>

QString 表格文件名(const QString &directory, int n) {
    return 去尾空格(directory) + QStringLiteral("案款分配表") + QString::number(n) +
           QStringLiteral(".xlsx");
}

QString 空闲表名(const QString &directory) {
    for (int n = 1; n <= 表格文件数; ++n) {
        const QString name = 表格文件名(directory, n);
        const QFileInfo info(name);
        if (!info.exists() || info.isHidden())
            return name;
    }
    return QString();
}

void 清除残留表(const QString &directory) {
    for (int n = 1; n <= 表格文件数; ++n)
        删除文件(表格文件名(directory, n));
}

void 删除文件(const QString &path) {
    if (QFileInfo::exists(path))
        QFile::remove(path);
}
