#pragma once

#include <QString>
#include <QTextStream>

// Copies every case of a varnel.db file into the archive the settings name, each case in one
// transaction, oldest ajid first; the file is only read. A name already in the archive gets
// " (2)", " (3)" … appended; a case whose name (or one of those) is there with the same rows is
// skipped, so that a second run copies nothing twice. One line per case goes to `out`, then the
// total. Returns the number of cases copied; a failure raises a VarnelError.
int 导入案件(const QString &源文件, QTextStream &out);
