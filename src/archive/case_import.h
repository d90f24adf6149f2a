#pragma once

#include <QString>
#include <QTextStream>

// Copies every case of a varnel.db file into the server archive the settings name (refused,
// with a VarnelError naming the settings file, when they name none), each case in one
// transaction, oldest ajid first; the file is only read. Names and cells are cleaned as a save
// cleans them, before they are compared and written; an empty name becomes "未命名案件". A case
// whose number does not fit is reported and skipped. A name already in the archive gets
// " (2)", " (3)" … appended; a case whose name (or one of those) is there with the same rows is
// skipped, so that a second run copies nothing twice. One line per case goes to `out`, then the
// total. Returns the number of cases copied; a failure raises a VarnelError.
int 导入案件(const QString &源文件, QTextStream &out);
