#pragma once

// The archive's service (case_archive.h) called as the windows and the import tool call it,
// on either engine of engine_fixture.h.

#include "archive/case_archive.h"
#include "common/app_dir.h"
#include "common/varnel_error.h"
#include "engine_fixture.h"

#include <QDir>

#include <memory>

// The archive of the test row, made the program's: false for a server row without the test
// server.
inline bool 用档案(std::unique_ptr<EngineArchive> &archive, const QString &engine) {
    archive = std::make_unique<EngineArchive>(engine);
    if (archive->server && !TestServer::get().ok)
        return false;
    设应用目录(加尾分隔符(QDir::toNativeSeparators(archive->dir.path())));
    return true;
}

#define OPEN_ARCHIVE(engine)                                                                       \
    if (!用档案(archive, engine))                                                                  \
        QSKIP("no test server (VARNEL_TEST_PG)");                                                  \
    QVERIFY(archive->ok)

// The column "engine" with a row for each engine.
inline void 两种引擎() {
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << "sqlite";
    QTest::newRow("pg") << "pg";
}

// Rows as a save stores them: cleaned cells, blanks alone empty.
inline 案件行 存后(const 案件行 &rows) {
    return {存后行(rows.交款, 交款列数), 存后行(rows.债权, 债权列数)};
}

// A save in a connection of its own, as the case fund window makes it once its boxes are
// answered: `id` 0 for a new case named `name`.
inline 写入结局 保存(std::int32_t id, const QString &name, const 案件行 &rows,
                   const 案件行 &basis = {}) {
    std::unique_ptr<数据库连接> connection;
    打开数据库(connection, 数据库用途::保存);
    return 保存案件(*connection, id, name, rows, basis);
}

// A new case stored; its number, or 0 when the save did not store it.
inline std::int32_t 存新案(const QString &name, const 案件行 &rows) {
    const 写入结局 result = 保存(0, name, rows);
    return result.结果 == 写入结果::已成 ? result.案件号 : 0;
}

// The description of the VarnelError `call` raises; "<none>" when it raises none.
template <class F> QString 错误说明(F &&call) {
    try {
        call();
    } catch (const VarnelError &e) {
        return e.description();
    }
    return QStringLiteral("<none>");
}
