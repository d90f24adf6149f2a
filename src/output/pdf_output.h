#pragma once

#include <QString>

#include <functional>
#include <memory>

class FlexGrid;
class QSaveFile;
class QWidget;

// Where the file name comes from: the desktop's save dialog by default; tests answer in its
// place (an empty name is a cancelled dialog). An empty function restores the dialog.
using PDF文件名询问 = std::function<QString(QWidget *parent, const QString &建议)>;
void 设PDF文件名询问(PDF文件名询问 ask);

// The file the PDF is written through: a QSaveFile on the name by default, which writes to a
// temporary file in the same folder and puts it in place only when it is complete. Tests give
// one that cannot be opened or written, as in a read-only folder or on a full disk.
using PDF文件来源 = std::function<std::unique_ptr<QSaveFile>(const QString &文件名)>;
void 设PDF文件来源(PDF文件来源 source);

// The name the save dialog suggests: the table's title and the case's name in the documents
// folder, "案款分配表" + name + ".pdf".
QString PDF建议文件名(const QString &标题, const QString &案件名);

// Writes the pages that 打印表格内容 prints for the grid, title and note into a PDF file: A4,
// 1200 dpi, vector text with the fonts embedded; the document's title is the table's title and
// the case's name. A file that cannot be written throws with the Chinese message and leaves
// nothing under the name (an existing file there is kept as it was).
void 写PDF文件(const FlexGrid &grid, const QString &标题, const QString &注释,
               const QString &案件名, const QString &文件名);

// The command: asks for the file name (nothing happens when the dialog is cancelled) and writes
// the file; a failure is shown in a message box. Returns the name written, or empty.
QString 输出PDF文件(QWidget *parent, const FlexGrid &grid, const QString &标题, const QString &注释,
                    const QString &案件名);
