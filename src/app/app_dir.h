#pragma once

#include <QString>

// The application directory: the working directory at start-up, always ending in exactly one
// separator. The case database and the spreadsheet files are found in it.
const QString &应用目录();
void 设应用目录(const QString &directory);

// A directory path with one trailing separator added unless it already ends in one.
QString 加尾分隔符(const QString &path);

// The program's version as major.minor.revision, each in plain decimal.
QString 版本文本();

// The maker's web page (a credit of this build).
inline const QString 制作者网页 = QStringLiteral("https://varnel.example.org/");
inline const QString 制作者邮箱 = QStringLiteral("support@varnel.example.org");
