// varnel-import-cases FILE.db: brings the cases of a PC's varnel.db into the archive that
// varnel.ini names (read from the current folder, else /etc/varnel or %ProgramData%\Varnel).
#include "archive/case_import.h"
#include "common/app_dir.h"
#include "common/varnel_error.h"

#include <QCoreApplication>
#include <QDir>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
#ifdef Q_OS_WIN
    // The texts are written as UTF-8: the console shows them so whatever its code page.
    SetConsoleOutputCP(CP_UTF8);
#endif
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args[1].startsWith(u'-')) {
        err << "用法: varnel-import-cases FILE.db" << Qt::endl
            << "把一个 varnel.db 中的案件复制到 varnel.ini 所写的案件档案中。" << Qt::endl;
        return 2;
    }
    设应用目录(加尾分隔符(QDir::currentPath()));
    try {
        导入案件(args[1], out);
    } catch (const VarnelError &e) {
        err << e.description() << Qt::endl;
        return 1;
    }
    return 0;
}
