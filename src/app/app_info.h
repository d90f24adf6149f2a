#pragma once

#include <QString>

// The program's version as major.minor.revision, each in plain decimal.
QString 版本文本();

// The maker's web page (a credit of this build).
inline const QString 制作者网页 = QStringLiteral("https://varnel.example.org/");
inline const QString 制作者邮箱 = QStringLiteral("support@varnel.example.org");
