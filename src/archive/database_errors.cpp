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

QString 说明(const QSqlError &error, const QString &file) {
    const QString engine = error.databaseText();
    switch (错误码(error)) {
    case 忙:
    case 锁定:
        return QStringLiteral("案件数据库正被另一个程序使用，请稍后再试。");
    case 只读:
        return QStringLiteral("案件数据库文件是只读的，不能保存或删除案件：") + file;
    case 已损坏:
    case 不是数据库:
        return QStringLiteral("案件数据库文件已损坏或不是数据库文件：") + file;
    case 磁盘满:
        return QStringLiteral("磁盘已满，案件数据库不能写入：") + file;
    case 不能打开:
        return QStringLiteral("不能打开案件数据库文件：") + file;
    default:
        if (engine.startsWith(QStringLiteral("no such table")) ||
            engine.startsWith(QStringLiteral("no such column")))
            return QStringLiteral("案件数据库文件缺少所需的数据表或数据列：") + file;
        return QStringLiteral("案件数据库出错：") + file;
    }
}

VarnelError 带引擎说明(const QString &sentence, const QSqlError &error) {
    const QString engine = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    return VarnelError(engine.isEmpty() ? sentence : sentence + QStringLiteral("\n（") + engine +
                                                         QStringLiteral("）"));
}

} // namespace

VarnelError 打开错误(const QSqlError &error, const QString &file) {
    if (!QFileInfo::exists(file))
        return 带引擎说明(QStringLiteral("找不到案件数据库文件：") + file, error);
    return 数据库错误(error, file);
}

VarnelError 数据库错误(const QSqlError &error, const QString &file) {
    return 带引擎说明(说明(error, file), error);
}
