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
// recovery file whose lock can be taken was left by a Varnel that is no longer running.

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
    bool operator==(const 恢复内容 &) const = default;
};

QByteArray 恢复文本(const 恢复内容 &content);
// std::nullopt for a file that is not one of ours, or is cut short.
std::optional<恢复内容> 读恢复文本(const QByteArray &text);

// The claim rows of the content that hold anything typed, as the start-up question counts them.
int 有内容债权行数(const 恢复内容 &content);

// This program's own recovery file: written through QSaveFile, so that a crash while writing
// leaves the previous content whole; its lock is held from the first write until the file is
// removed.
class 本程序恢复文件 {
  public:
    static 本程序恢复文件 &实例();
    void 写(const 恢复内容 &content);
    void 删();
    QString 路径() const;

  private:
    QString 名; // the whole path, once written
    std::unique_ptr<QLockFile> 锁;
};

// A recovery file left behind, held (its lock taken) while this program decides about it.
struct 遗留恢复 {
    QString 路径;
    恢复内容 内容;
    std::shared_ptr<QLockFile> 锁;
    // Removes the file, then lets its lock go.
    void 删() const;
};

// The recovery files in `dir` left by programs no longer running, oldest first. A file that is
// not readable as recovery content is left where it is.
QList<遗留恢复> 找遗留恢复(const QString &dir);
