#include "casefund/plan_document.h"

#include "casefund/plan_fields.h"
#include "output/field_document.h"
#include "settings/archive_settings.h"

#include <QDir>

namespace {

const 文书种类 方案文书{方案模板文件名, QStringLiteral("分配方案模板"),
                      {QStringLiteral("分配方案"), QStringLiteral("输出分配方案"),
                       QStringLiteral("Word文档 (*.docx)"), QStringLiteral("docx")}};

文书字段 方案字段(const QList<QStringList> &交款, const QList<QStringList> &债权,
                  const QString &分配说明, const QString &案件名) {
    return 分配方案字段(方案内容{交款, 债权, 分配说明, 案件名, 当前档案设置().法院名称,
                                 QDate::currentDate()});
}

} // namespace

QByteArray 分配方案文档(const QList<QStringList> &交款, const QList<QStringList> &债权,
                        const QString &分配说明, const QString &案件名) {
    return 填写文书模板(方案文书, 方案字段(交款, 债权, 分配说明, 案件名));
}

QString 输出分配方案(QWidget *parent, const QList<QStringList> &交款,
                     const QList<QStringList> &债权, const QString &分配说明,
                     const QString &案件名) {
    return 输出文书(parent, 方案文书, QStringLiteral("分配方案") + 案件名,
                    [&] { return 方案字段(交款, 债权, 分配说明, 案件名); });
}

QString 方案保存说明(const QString &文件名) {
    QString text = QStringLiteral("已保存：") + QDir::toNativeSeparators(文件名);
    if (当前档案设置().法院名称.isEmpty())
        text += QStringLiteral("（没有设置法院名称，见 varnel.ini 的 [office] 一节）");
    return text;
}
