#pragma once

#include <QString>

// The numbered copies of the spreadsheet template that the export leaves in the application
// directory: "案款分配表1.xlsx" to "案款分配表100.xlsx".
constexpr int 表格文件数 = 100;

QString 表格文件名(const QString &directory, int n);

// The first numbered name under which no file is seen (a hidden file is not seen), or empty
// text when all 100 are in use.
QString 空闲表名(const QString &directory);

// Deletes every numbered file; a file that cannot be deleted is left and the next is tried.
void 清除残留表(const QString &directory);

// Deletes the file if it exists; any failure is ignored.
void 删除文件(const QString &path);
