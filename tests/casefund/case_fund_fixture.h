#pragma once

#include "casefund/case_fund_window.h"
#include "common/app_dir.h"

#include <QDir>
#include <QTemporaryDir>

// A case fund window opened in a temporary application directory, shown and activated as the
// main window would open it. The test waits for it to become active.
inline Fo案款分配计算 *打开案款窗口(const QTemporaryDir &dir) {
    设应用目录(加尾分隔符(QDir::toNativeSeparators(dir.path())));
    auto *w = new Fo案款分配计算;
    w->show();
    w->activateWindow();
    return w;
}
