#include "output/field_document.h"

#include "common/app_dir.h"
#include "common/message_box.h"
#include "common/number_text.h"
#include "output/docx_fill.h"

QByteArray 填写文书模板(const 文书种类 &kind, const 文书字段 &fields) {
    return 填写文书(去尾空格(应用目录()) + kind.模板文件名, kind.模板名称, fields);
}

QString 输出文书(QWidget *parent, const 文书种类 &kind, const QString &name,
                 const std::function<文书字段()> &fields) {
    QString written;
    捕获错误([&] {
        const QByteArray document = 填写文书模板(kind, fields());
        const QString file = 询问文件名(parent, kind.文件, 建议文件名(name, kind.文件.后缀));
        if (file.isEmpty())
            return;
        保存文件(kind.文件, file, document);
        written = file;
        打开输出文件(file, QStringLiteral("文字处理程序"));
    });
    return written;
}
