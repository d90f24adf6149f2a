#include "archive/case_import.h"

#include "archive/case_archive.h"
#include "archive/sql_text.h"
#include "settings/archive_settings.h"
#include "common/app_dir.h"
#include "common/cell_text.h"
#include "common/number_text.h"
#include "common/varnel_error.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The name the case gets in the archive, or an empty text when it is there already.
QString 目标名称(数据库连接 &target, const QString &name, const 案件行 &content) {
    QString candidate = name;
    for (int k = 2;; ++k) {
        const std::int32_t id = 查案件号(target, candidate);
        if (id == 0)
            return candidate;
        if (读案件行(target, id) == content)
            return QString();
        candidate = name + QStringLiteral(" (%1)").arg(k);
    }
}

// The rows as the archive will hold them once written: cleaned as a saved cell is.
案件行 存后(const 案件行 &content) {
    return {存后行(content.交款, 交款列数), 存后行(content.债权, 债权列数)};
}

// Importing into the PC's own varnel.db would copy nothing anywhere (or the file into itself):
// the settings must name a server.
void 要有服务器() {
    const 档案设置 settings = 当前档案设置();
    if (settings.在服务器上())
        return;
    if (settings.文件.isEmpty())
        throw VarnelError(
            QStringLiteral("没有找到设置文件 varnel.ini（%1 和 %2 都没有），不知道案件档案服务器在哪里，"
                           "所以没有导入。请先写好设置文件的 [archive] 一节。")
                .arg(QDir::toNativeSeparators(加尾分隔符(应用目录()) + QStringLiteral("varnel.ini")),
                     QDir::toNativeSeparators(系统设置文件())));
    throw VarnelError(QStringLiteral("设置文件 %1 没有写案件档案服务器（[archive] 一节的 connection），"
                                     "案件只能导入服务器上的案件档案，所以没有导入。请先写好它。")
                          .arg(QDir::toNativeSeparators(settings.文件)));
}

// Every INSERT must store its one row, as in a save: a row the archive skipped without an error
// (a trigger of the office's) rolls the whole case back, and the import stops there.
void 要存下一行(qint64 stored, const QString &name) {
    if (stored != 1)
        throw VarnelError(QStringLiteral("案件档案没有存下案件“%1”的全部行，这个案件没有复制，"
                                         "导入到此停止。请告诉服务器管理员。")
                              .arg(name));
}

void 写入(数据库连接 &target, const QString &name, const 案件行 &content) {
    数据库事务 transaction(target);
    要存下一行(执行(target, 案件语句::插入案件(name)), name);
    const std::int32_t id = 查案件号(target, name);
    QStringList rows;
    for (const QStringList &row : content.交款)
        rows << 案件语句::插入交款(id, 行字面量(row, 交款列数));
    for (const QStringList &row : content.债权)
        rows << 案件语句::插入债权(id, 行字面量(row, 债权列数));
    const QList<qint64> stored = 执行多条(target, rows);
    要存下一行(stored.size() == rows.size() ? 1 : 0, name);
    for (const qint64 n : stored)
        要存下一行(n, name);
    try {
        transaction.提交();
    } catch (const 提交结果不明 &) {
        // Nothing is read back here: the next run skips the case if the server kept it.
        throw VarnelError(QStringLiteral("与服务器的连接在保存案件“%1”时中断了，不能确定服务器是否已保存它，"
                                         "导入到此停止。请再运行一次导入：已经保存的案件会被跳过。")
                              .arg(name));
    }
}

} // namespace

int 导入案件(const QString &源文件, QTextStream &out) {
    要有服务器();
    // The source is opened read-only: nothing in it can change.
    const QString mode = 数据库设置::打开方式;
    数据库设置::打开方式 = QStringLiteral("ro");
    std::unique_ptr<数据库连接> source;
    try {
        source =
            std::make_unique<数据库连接>(QFileInfo(源文件).absoluteFilePath(), 数据库用途::读出);
    } catch (...) {
        数据库设置::打开方式 = mode;
        throw;
    }
    数据库设置::打开方式 = mode;
    std::unique_ptr<数据库连接> target;
    打开数据库(target, 数据库用途::保存);
    const 记录集 cases = 打开记录集(*source, 案件语句::列出案件());
    const int ajidField = int(cases.字段.indexOf(QStringLiteral("ajid")));
    const int nameField = int(cases.字段.indexOf(QStringLiteral("名称")));
    int copied = 0;
    for (int r = 0; r < cases.RecordCount(); ++r) {
        // The name as a save would store it; none left: a name of its own.
        QString name = 去尾空格(单元格文本(cases.值(r, nameField).toString()));
        if (name.isEmpty())
            name = QStringLiteral("未命名案件");
        const QString ajid = 去尾空格(cases.值(r, ajidField).toString());
        std::int32_t id = 0;
        try {
            id = 长整数值(ajid);
        } catch (const VarnelError &) {
            out << QStringLiteral("案件号 %1 超出范围，跳过：%2").arg(ajid, name) << Qt::endl;
            continue;
        }
        const 案件行 content = 存后(读案件行(*source, id));
        const QString as = 目标名称(*target, name, content);
        if (as.isEmpty()) {
            out << QStringLiteral("已有，跳过：%1").arg(name) << Qt::endl;
            continue;
        }
        写入(*target, as, content);
        ++copied;
        out << QStringLiteral("已复制：%1%2（交款 %3 行，债权 %4 行）")
                   .arg(name, as == name ? QString() : QStringLiteral(" → ") + as)
                   .arg(content.交款.size())
                   .arg(content.债权.size())
            << Qt::endl;
    }
    out << QStringLiteral("共 %1 个案件：复制 %2 个，跳过 %3 个。")
               .arg(cases.RecordCount())
               .arg(copied)
               .arg(cases.RecordCount() - copied)
        << Qt::endl;
    return copied;
}
