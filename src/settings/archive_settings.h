#pragma once

#include <QString>
#include <QStringList>

// The office's settings. Where the stored cases live: without a settings file, or with an empty
// [archive] connection, they are in the SQLite file varnel.db of the application directory; with
// a connection string they are on a PostgreSQL server. And the court's name, [office] court,
// which the distribution plan document puts at its head, and, in [fees], the fee schedule the
// fee calculator opens with until the clerk chooses one. The settings file holds nothing else,
// and never a password.

struct 档案设置 {
    // The settings file that was read, or empty when none was found.
    QString 文件;
    // The libpq connection string as written, or empty for the SQLite file.
    QString 连接串;
    // The court's name as written, or empty.
    QString 法院名称;
    bool 在服务器上() const { return !连接串.isEmpty(); }
    // [fees] standard: 1989 or 2007, or 0 when the file names none.
    int 收费标准 = 0;
};

// The settings file that counts: varnel.ini in the application directory, or, when that has
// none, the system-wide file. An empty text when neither exists.
QString 设置文件(const QString &应用目录, const QString &系统文件);

// A file the office keeps beside varnel.ini, looked for where varnel.ini is: in the application
// directory, or, when that has none of that name, in the folder of 系统设置文件. An empty text
// when neither holds it.
QString 设置旁文件(const QString &名称);

// Reads a settings file. Values are read as written: only the blanks around a value and double
// quotes around the whole of it are taken away. A line that is not UTF-8 (comments may be in any
// encoding), a CR that does not end a line, a line ending in a backslash, a line that is not a
// comment, a section or key=value, a section other than [archive], [office] and [fees], a key
// other than connection in [archive], court in [office] and standard in [fees], a key written
// twice, a standard other than 1989 or 2007, or a connection string that libpq would refuse or
// that holds a password: a VarnelError naming the file (and the line).
档案设置 读档案设置(const QString &file);

// The settings file of every user of this computer: /etc/varnel/varnel.ini, on Windows
// %ProgramData%\Varnel\varnel.ini; varnel.ini in the folder VARNEL_SETTINGS_DIR names, when
// that is set (an administrator's choice, and the tests' own folder).
QString 系统设置文件();

// The archive of this program: the settings file of the application directory or the system's
// (系统设置文件), read anew each time.
档案设置 当前档案设置();

// The keys of a libpq connection string in key=value form, in order; an error text in
// `错误` when the string is not of that form.
QStringList 连接串的键(const QString &连接串, QString *错误);

// Where libpq looks for the clerk's passwords, as the clerk would write it: ~/.pgpass, on
// Windows %APPDATA%\postgresql\pgpass.conf.
QString 口令文件();

// The connection string handed to libpq: the string as written, with connect_timeout=5,
// application_name=varnel and TCP keepalives (30 s idle, every 10 s, 3 tries) added where it
// names none.
QString 补全连接串(const QString &连接串);
