#include "common/app_dir.h"

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
    // On Windows a path may end in either separator.
    return path.endsWith(sep) || path.endsWith(u'/') ? path : path + sep;
}
