#include "app/app_info.h"

#include "version.h"

QString 版本文本() {
    return QStringLiteral("%1.%2.%3")
        .arg(VARNEL_VERSION_MAJOR)
        .arg(VARNEL_VERSION_MINOR)
        .arg(VARNEL_VERSION_PATCH);
}
