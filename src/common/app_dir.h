#pragma once

#include <QString>

// The application directory: the working directory at start-up, always ending in exactly one
// separator. The case database and the spreadsheet files are found in it.
const QString &应用目录();
void 设应用目录(const QString &directory);

// A directory path with one trailing separator added unless it already ends in one.
QString 加尾分隔符(const QString &path);
