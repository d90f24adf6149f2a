#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// The tests read what the program wrote with programs of the host system (poppler's tools,
// Python with openpyxl, the sqlite3 shell). When the Windows build runs under Wine these are
// Linux programs: a path is handed to them as the Unix path Wine maps it to. On Linux, and on
// a Windows without Wine, a path stays as it is.
inline QString hostPath(const QString &path) {
#ifdef Q_OS_WIN
    using ToUnix = char *(CDECL *)(LPCWSTR);
    static const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    // A path that starts with one slash was compiled in from the build machine: already Unix.
    const bool unixAlready = path.startsWith(u'/') && !path.startsWith(QStringLiteral("//"));
    if (!toUnix || unixAlready || !QDir::isAbsolutePath(path))
        return path;
    const QString native = QDir::toNativeSeparators(path);
    char *unixPath = toUnix(reinterpret_cast<LPCWSTR>(native.utf16()));
    if (!unixPath)
        return path;
    const QString translated = QString::fromUtf8(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return translated;
#else
    return path;
#endif
}

// Arguments for a host program: every absolute path translated, other words unchanged.
inline QStringList hostArguments(const QStringList &arguments) {
    QStringList translated;
    for (const QString &a : arguments)
        translated << hostPath(a);
    return translated;
}

struct HostRun {
    int exitCode = -1; // -1: did not run to its end
    QByteArray out, err;
};

// Runs a host program with the given arguments (paths translated) and, when given, a file as
// its standard input. Under Wine, which cannot start Linux programs, the request goes to the
// runner that scripts/wine-run.sh keeps on the host side (its folder in VARNEL_HOST_RUNNER).
inline HostRun runOnHost(const QString &program, const QStringList &arguments,
                         const QString &inputFile = QString(), int timeoutMs = 60000) {
    HostRun run;
    const QString runner = qEnvironmentVariable("VARNEL_HOST_RUNNER");
    if (runner.isEmpty()) {
        QProcess p;
        if (!inputFile.isEmpty())
            p.setStandardInputFile(inputFile);
        p.start(program, arguments);
        if (p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit)
            run.exitCode = p.exitCode();
        run.out = p.readAllStandardOutput();
        run.err = p.readAllStandardError();
        return run;
    }
    static int count = 0;
    const QString base = QDir(runner).filePath(
        QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(++count));
    QJsonObject request{{"program", program},
                        {"args", QJsonArray::fromStringList(hostArguments(arguments))},
                        {"stdin", inputFile.isEmpty() ? QString() : hostPath(inputFile)}};
    QFile req(base + QStringLiteral(".part"));
    if (!req.open(QIODevice::WriteOnly))
        return run;
    req.write(QJsonDocument(request).toJson());
    req.close();
    QFile::rename(base + QStringLiteral(".part"), base + QStringLiteral(".req"));
    for (int waited = 0; !QFile::exists(base + QStringLiteral(".done")); waited += 5) {
        if (waited > timeoutMs)
            return run;
        QThread::msleep(5);
    }
    const auto read = [&](const char *ext) {
        QFile f(base + QLatin1String(ext));
        f.open(QIODevice::ReadOnly);
        const QByteArray data = f.readAll();
        f.close();
        f.remove();
        return data;
    };
    run.out = read(".out");
    run.err = read(".err");
    run.exitCode = read(".done").trimmed().toInt();
    return run;
}
