#include "archive/database_errors.h"

#include <QFileInfo>

namespace {

// SQLite's primary result codes that the clerk can do something about.
enum : int {
    忙 = 5,
    锁定 = 6,
    只读 = 8,
    已损坏 = 11,
    磁盘满 = 13,
    不能打开 = 14,
    不是数据库 = 26,
};

int 错误码(const QSqlError &error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

QString 做不成(数据库用途 use) {
    switch (use) {
    case 数据库用途::保存:
        return QStringLiteral("不能保存。");
    case 数据库用途::删除:
        return QStringLiteral("不能删除案件。");
    case 数据库用途::读出:
        break;
    }
    return QStringLiteral("不能读出案件。");
}

const QString 换备份 = QStringLiteral("请换上备份的案件数据库文件。");

QString 说明(const QSqlError &error, 数据库用途 use) {
    const QString engine = error.databaseText();
    const QString cannot = 做不成(use);
    switch (错误码(error)) {
    case 忙:
    case 锁定:
        return QStringLiteral("案件数据库正被另一个程序使用，") + cannot +
               QStringLiteral("请稍后再试。");
    case 只读:
        return QStringLiteral("案件数据库文件是只读的，") + cannot +
               QStringLiteral("请检查文件的权限，或把它复制到你能写入的文件夹。");
    case 已损坏:
    case 不是数据库:
        return QStringLiteral("案件数据库文件已损坏或不是数据库文件，") + cannot + 换备份;
    case 磁盘满:
        return QStringLiteral("磁盘已满，") + cannot + QStringLiteral("请腾出磁盘空间后再试。");
    case 不能打开:
        return QStringLiteral("不能打开案件数据库文件，") + cannot +
               QStringLiteral("请检查这个文件和它所在的文件夹是否存在、你能否读写。");
    default:
        if (engine.startsWith(QStringLiteral("no such table")) ||
            engine.startsWith(QStringLiteral("no such column")))
            return QStringLiteral("案件数据库文件缺少所需的数据表或数据列，") + cannot + 换备份;
        return QStringLiteral("案件数据库出错，") + cannot +
               QStringLiteral("请再试一次；仍然出错时，请把这段说明告诉管理员。");
    }
}

VarnelError 完整说明(const QString &sentence, const QSqlError &error, const QString &file) {
    const QString engine =
        error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    QString text = sentence;
    if (!engine.isEmpty())
        text += QStringLiteral("\n（") + engine + QStringLiteral("）");
    return VarnelError(text + QStringLiteral("\n文件：") + file);
}

} // namespace

VarnelError 打开错误(const QSqlError &error, const QString &file, 数据库用途 use) {
    if (!QFileInfo::exists(file))
        return 完整说明(QStringLiteral("找不到案件数据库文件，") + 做不成(use) +
                            QStringLiteral("请把它放回原处，或换上备份的案件数据库文件。"),
                        error, file);
    return 数据库错误(error, file, use);
}

VarnelError 数据库错误(const QSqlError &error, const QString &file, 数据库用途 use) {
    return 完整说明(说明(error, use), error, file);
}
