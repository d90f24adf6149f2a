#pragma once

#include "output/sheet_xml.h"

#include <QString>
#include <functional>
#include <vector>

// Copies the template file to a new name; false when the copy cannot be written. The export
// uses QFile::copy; a test stands in a folder that refuses writes (which running as root never
// does) by replacing it.
using 文件复制函数 = std::function<bool(const QString &from, const QString &to)>;
文件复制函数 &模板复制器();

// Makes 副本, a copy of the workbook 模板 with the cells written into its first worksheet (the
// first sheet of the workbook, found through the workbook's relationships). The copy is built
// under a temporary name beside 副本 and renamed when complete, so that on any failure nothing
// is left behind; an existing 副本 is never replaced. The template is only read.
// Failures throw a VarnelError whose description names the file: the template missing, the
// template not a workbook, or the copy not writable.
void 填写副本(const QString &模板, const QString &副本, const std::vector<写入格> &cells,
              int 样式行);

