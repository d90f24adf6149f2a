#pragma once

#include <QString>

// The numbered copies of the spreadsheet template that the export leaves in the application
// directory: "案款分配表1.xlsx" to "案款分配表100.xlsx".
constexpr int 表格文件数 = 100;

QString 表格文件名(const QString &directory, int n);

// The first numbered name under which no file is seen (a hidden file is not seen), or empty
// text when all 100 are in use.
QString 空闲表名(const QString &directory);

// Notes a copy the export has just written: its size and modification time, kept for this run
// and in a small list beside the copies (".案款分配表副本") for the runs after it.
void 记下副本(const QString &path);

// Deletes the numbered copies that are still as the export wrote them. A copy changed since
// (the clerk edited and saved it), a file the export did not write, and a copy still open in a
// spreadsheet program stay, and keep their numbers; a copy that cannot be deleted is left and
// the next is tried. What an export cut short left (a ".part" file) always goes.
void 清除残留表(const QString &directory);

// Deletes the file if it exists; any failure is ignored.
void 删除文件(const QString &path);
