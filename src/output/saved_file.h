#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QSaveFile;
class QWidget;

// Files the output hands to the clerk: the save dialog that names them, their writing through
// QSaveFile, and opening a finished file with the desktop's program for its kind.

// A kind of file saved where the clerk chooses.
struct 文件种类 {
    QString 名称; // as the messages name the file: "PDF文件", "分配方案"
    QString 标题; // the save dialog's title, also of its question before replacing a file
    QString 过滤; // the dialog's file filter: "PDF文件 (*.pdf)"
    QString 后缀; // without the dot: "pdf"
};

// Where the file name comes from: the desktop's save dialog by default; tests answer in its
// place (an empty name is a cancelled dialog). An empty function restores the dialog.
using 文件名询问 = std::function<QString(QWidget *parent, const QString &建议)>;
void 设文件名询问(文件名询问 ask);

// The file a document is written through: a QSaveFile on the name by default, which writes to a
// temporary file in the same folder and puts it in place only when it is complete. Tests give
// one that cannot be opened or written, as in a read-only folder or on a full disk.
using 保存文件来源 = std::function<std::unique_ptr<QSaveFile>(const QString &文件名)>;
void 设保存文件来源(保存文件来源 source);

// The clerk's documents folder; the home folder when the desktop names a documents folder that
// is not there (a dialog started in a missing folder offers a name it cannot save under).
QString 文档文件夹();

// The name the save dialog suggests: 名 + "." + 后缀 in the documents folder, each character
// that Windows refuses in a file name (a folder separator among them) replaced by "-".
QString 建议文件名(const QString &名, const QString &后缀);

// Asks for the file name, the dialog starting at 建议 with the kind's filter and suffix; a name
// given with another suffix gets the kind's, and a file of that final name is replaced only when
// the clerk says so (the dialog asks about the name it was given). Empty when the dialog is
// cancelled or the clerk keeps the file there.
QString 询问文件名(QWidget *parent, const 文件种类 &kind, const QString &建议);

// Writes the content under the name. A file that cannot be written throws with the Chinese
// message "不能保存<kind>“<name>”：<reason>" and leaves nothing under the name (an existing file
// there is kept as it was).
void 保存文件(const 文件种类 &kind, const QString &文件名, const QByteArray &content);

// Opens a finished file with the desktop's program for its kind; false when that fails. Tests
// replace it so that no program is ever started.
using 文件打开函数 = std::function<bool(const QString &path)>;
文件打开函数 &文件打开器();

// Opens the file written; when it cannot be opened, throws "已输出到 <file>，但不能打开它。" with
// the advice to open it with a 程序 ("电子表格程序") or to install one.
void 打开输出文件(const QString &path, const QString &程序);
