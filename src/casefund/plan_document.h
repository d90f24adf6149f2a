#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// The template of the distribution plan document, in the application directory.
inline const QString 方案模板文件名 = QStringLiteral("fpfa.docx");

// The distribution plan document (分配方案) of a case: the template filled (plan_fields.h) with
// the data rows of the payments and claims tables, the summary as the window shows it, the
// stored case's name (empty for none), the court's name from the settings ([office] court) and
// today's date. Failures throw a VarnelError: the template's (docx_fill.h), the settings'.
QByteArray 分配方案文档(const QList<QStringList> &交款, const QList<QStringList> &债权,
                        const QString &分配说明, const QString &案件名);

// The command 输出分配方案: makes the document, asks for its name in the save dialog (in the
// documents folder, "分配方案" + the case's name + ".docx"), writes it and opens it with the
// desktop's word processor. Nothing is written when the dialog is cancelled; a failure is shown
// in a message box (a template or settings that cannot be used before the dialog opens).
// Returns the name written, or empty.
QString 输出分配方案(QWidget *parent, const QList<QStringList> &交款,
                     const QList<QStringList> &债权, const QString &分配说明,
                     const QString &案件名);

// The status line after the document was written: "已保存：PATH", and, when the settings name no
// court (the document's court lines stay blank), where to set it.
QString 方案保存说明(const QString &文件名);
