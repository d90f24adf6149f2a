#pragma once

#include "output/document_fields.h"
#include "output/saved_file.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

// A kind of document made from a word-processing template in the application directory: the
// template's file name, the template as the messages name it ("分配方案模板"), and the file
// the document is saved as.
struct 文书种类 {
    QString 模板文件名;
    QString 模板名称;
    文件种类 文件;
};

// The template of `kind` filled with the fields. Failures throw a VarnelError (docx_fill.h).
QByteArray 填写文书模板(const 文书种类 &kind, const 文书字段 &fields);

// A document command: gathers the fields, fills the template, asks for the file's name in the
// save dialog (in the documents folder, `name` + the kind's suffix), writes it and opens it with
// the desktop's word processor. Nothing is written when the dialog is cancelled; a failure is
// shown in a message box (fields or a template that cannot be used before the dialog opens).
// Returns the name written, or empty.
QString 输出文书(QWidget *parent, const 文书种类 &kind, const QString &name,
                 const std::function<文书字段()> &fields);
