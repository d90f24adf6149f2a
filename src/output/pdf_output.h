#pragma once

#include "output/page_model.h"

#include <QString>

class FlexGrid;
class QWidget;

// The name the save dialog suggests: the table's title and the case's name in the documents
// folder, "案款分配表" + name + ".pdf".
QString PDF建议文件名(const QString &标题, const QString &案件名);

// Writes the pages that 打印表格内容 prints for the grid, title, note and rule into a PDF file: A4,
// 1200 dpi, vector text with the fonts embedded; the document's title is the table's title and
// the case's name. A file that cannot be written throws with the Chinese message and leaves
// nothing under the name (an existing file there is kept as it was).
void 写PDF文件(const FlexGrid &grid, const QString &标题, const QString &注释,
               const QString &案件名, const QString &文件名, const 合计规则 &规则 = {});

// The command: asks for the file name in the save dialog "保存为PDF文件" (nothing happens when
// the dialog is cancelled) and writes the file; a failure is shown in a message box. Returns the
// name written, or empty.
QString 输出PDF文件(QWidget *parent, const FlexGrid &grid, const QString &标题, const QString &注释,
                    const QString &案件名, const 合计规则 &规则 = {});
