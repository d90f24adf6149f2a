#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// The office's settings folder of a test program (VARNEL_SETTINGS_DIR, which stands for
// /etc/varnel or %ProgramData%\Varnel): a temporary folder of its own, without a varnel.ini
// unless a test writes one, so that no test reads the settings of the machine it runs on. Set
// on the first call; the programs a test starts inherit it.
inline QString 测试设置文件夹() {
    static QTemporaryDir dir;
    static const bool set =
        qputenv("VARNEL_SETTINGS_DIR", QDir::toNativeSeparators(dir.path()).toLocal8Bit());
    Q_UNUSED(set);
    return dir.path();
}
