#include "archive/case_import.h"

#include "archive/case_rows.h"
#include "archive/database.h"
#include "archive/sql_text.h"
#include "common/number_text.h"

#include <QFileInfo>

namespace {

QStringList 字面量(const QStringList &cells) {
    QStringList literals;
    for (const QString &cell : cells)
        literals << 单元字面量(cell);
    return literals;
}

std::int32_t 案件号(数据库连接 &connection, const QString &name) {
    const 记录集 ids = 打开记录集(connection, 案件语句::查案件号(name));
    return ids.RecordCount() ? 长整数值(去尾空格(ids.值(0, 0).toString())) : 0;
}

// The name the case gets in the archive, or an empty text when it is there already.
QString 目标名称(数据库连接 &target, const QString &name, const 案件行 &content) {
    QString candidate = name;
    for (int k = 2;; ++k) {
        const std::int32_t id = 案件号(target, candidate);
        if (id == 0)
            return candidate;
        if (读案件行(target, id) == content)
            return QString();
        candidate = name + QStringLiteral(" (%1)").arg(k);
    }
}

void 写入(数据库连接 &target, const QString &name, const 案件行 &content) {
    数据库事务 transaction(target);
    执行(target, 案件语句::插入案件(name));
    const std::int32_t id = 案件号(target, name);
    for (const QStringList &row : content.交款)
        执行(target, 案件语句::插入交款(id, 字面量(row)));
    for (const QStringList &row : content.债权)
        执行(target, 案件语句::插入债权(id, 字面量(row)));
    transaction.提交();
}

} // namespace

int 导入案件(const QString &源文件, QTextStream &out) {
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
        const std::int32_t id = 长整数值(去尾空格(cases.值(r, ajidField).toString()));
        const QString name = 去尾空格(cases.值(r, nameField).toString());
        const 案件行 content = 读案件行(*source, id);
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
