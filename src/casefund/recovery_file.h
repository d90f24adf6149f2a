#pragma once

#include "archive/case_rows.h"

#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

// Unsaved work of the case fund window, kept in a recovery file in the application directory so
// that a crash, a power cut or a killed program loses none of it. Each running Varnel writes a
// file of its own (varnel-恢复-PID-MS.json) and holds a lock file beside it while it runs: a
// recovery file whose lock can be taken, or whose lock is stale, was left by a Varnel that is no
// longer running. Both files are the clerk's own (mode 0600).

// How long after a change the recovery file is written (tests shorten it).
namespace 恢复设置 {
inline int 间隔毫秒 = 10000;
}

struct 恢复内容 {
    案件行 表;              // the payments and claims tables, row by row, as shown
    std::int32_t 案件号 = 0; // the stored case they belong to, 0 for none
    QString 案件名称;
    案件行 读出时行; // that case's rows as loaded or last saved, for the save's own check
    QDateTime 时间;
    // The archive the case number belongs to, as 当前档案名() names it; empty when not known.
    QString 档案;
    bool operator==(const 恢复内容 &) const = default;
};

QByteArray 恢复文本(const 恢复内容 &content);
// std::nullopt for a file that is not one of ours, or is cut short.
std::optional<恢复内容> 读恢复文本(const QByteArray &text);

// The archive in use now: the absolute path of varnel.db, or the server's connection string as
// the settings write it (which never holds a password: the settings refuse one). Empty when the
// settings cannot be read.
QString 当前档案名();
// The content as the archive in use takes it: of its stored case when it was written under this
// archive, else (another archive, or none named) a new unsaved case with the same rows.
恢复内容 归入当前档案(const 恢复内容 &content);

// The claim rows of the content that hold anything typed, as the start-up question counts them.
int 有内容债权行数(const 恢复内容 &content);

// A recovery file left behind, held (its lock taken) while this program decides about it.
struct 遗留恢复 {
    QString 路径;
    恢复内容 内容;
    std::shared_ptr<QLockFile> 锁;
    // Removes the file, then lets its lock go.
    void 删() const;
};

// This program's own recovery file: written through QSaveFile, so that a crash while writing
// leaves the previous content whole; its lock is held from the first write until the file is
// removed.
class 本程序恢复文件 {
  public:
    static 本程序恢复文件 &实例();
    void 写(const 恢复内容 &content);
    // The content is stored or let go: removes this file and the left-over files taken over.
    void 删();
    QString 路径() const;
    // A left-over file whose content the window has taken: removed once this file holds that
    // content (at once when the last write succeeded), and until then kept, with its lock
    // held, so that a second crash still finds it.
    void 接替(const 遗留恢复 &left);

  private:
    void 删本文件();
    void 放下接替的();
    QString 名; // the whole path, once written
    std::unique_ptr<QLockFile> 锁;
    QList<遗留恢复> 接替的;
    bool 写失败 = false; // the last write did not reach the file
};

// The recovery files in `dir` left by programs no longer running, oldest first. A lock is stale
// when QLockFile finds its process gone on this host, when it names no process (a power cut
// before its text reached the disk), or when it names another host and is older than a day; in
// the last two cases only when no running program holds it. A file that is not readable as
// recovery content, or that belongs to another user, is left where it is. A stale lock without
// its file is removed.
QList<遗留恢复> 找遗留恢复(const QString &dir);
