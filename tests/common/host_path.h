#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

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
    if (!toUnix || !QDir::isAbsolutePath(path))
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
