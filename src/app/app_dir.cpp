#include "app/app_dir.h"

#include "version.h"

#include <QDir>

namespace {
QString &store() {
    static QString dir;
    return dir;
}
} // namespace

const QString &应用目录() {
    return store();
}
void 设应用目录(const QString &directory) {
    store() = directory;
}

QString 加尾分隔符(const QString &path) {
    const QChar sep = QDir::separator();
    return path.endsWith(sep) ? path : path + sep;
}

QString 版本文本() {
    return QStringLiteral("%1.%2.%3")
        .arg(VARNEL_VERSION_MAJOR)
        .arg(VARNEL_VERSION_MINOR)
        .arg(VARNEL_VERSION_PATCH);
}
