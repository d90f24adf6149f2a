#include "output/plan_document.h"

#include "archive/archive_settings.h"
#include "casefund/plan_fields.h"
#include "common/app_dir.h"
#include "common/message_box.h"
#include "common/number_text.h"
#include "output/docx_fill.h"
#include "output/saved_file.h"

#include <QDir>

namespace {

const 文件种类 方案种类{QStringLiteral("分配方案"), QStringLiteral("输出分配方案"),
                      QStringLiteral("Word文档 (*.docx)"), QStringLiteral("docx")};

} // namespace

QByteArray 分配方案文档(const QList<QStringList> &交款, const QList<QStringList> &债权,
                        const QString &分配说明, const QString &案件名) {
    const 方案内容 content{交款, 债权, 分配说明, 案件名, 当前档案设置().法院名称,
                           QDate::currentDate()};
    return 填写文书(去尾空格(应用目录()) + 方案模板文件名, QStringLiteral("分配方案模板"),
                    分配方案字段(content));
}

QString 方案保存说明(const QString &文件名) {
    QString text = QStringLiteral("已保存：") + QDir::toNativeSeparators(文件名);
    if (当前档案设置().法院名称.isEmpty())
        text += QStringLiteral("（没有设置法院名称，见 varnel.ini 的 [office] 一节）");
    return text;
}

QString 输出分配方案(QWidget *parent, const QList<QStringList> &交款,
                     const QList<QStringList> &债权, const QString &分配说明,
                     const QString &案件名) {
    QString written;
    捕获错误([&] {
        const QByteArray document = 分配方案文档(交款, 债权, 分配说明, 案件名);
        const QString name = 询问文件名(
            parent, 方案种类, 建议文件名(QStringLiteral("分配方案") + 案件名, 方案种类.后缀));
        if (name.isEmpty())
            return;
        保存文件(方案种类, name, document);
        written = name;
        打开输出文件(name, QStringLiteral("文字处理程序"));
    });
    return written;
}
