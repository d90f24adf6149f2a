// A save or a delete whose COMMIT went to the server and got no answer: the server may have kept
// the change or not. The case is read back from the server, and the window holds what is stored
// now, without throwing away anything the clerk typed.
#include "archive/case_archive.h"
#include "casefund/case_fund_window.h"
#include "common/message_box.h"

#include <QPushButton>

// The save of the tables as case `id` (0: a new case named `name`). When what is stored is what
// the tables hold, the save was kept and the window holds the stored case. Otherwise the tables
// keep the clerk's rows, unsaved, for the next save, which compares with what is stored now; a
// new case found under its name but with other rows is another clerk's and is not taken.
void Fo案款分配计算::核对不明的保存(std::int32_t id, const QString &name) {
    捕获错误([&] {
        const std::int32_t target = id >= 1 ? id : 按名称找案件(name);
        if (target < 1)
            return;
        const std::optional<案件行> stored = 读出存储案件(target);
        if (!stored)
            return;
        const 案件行 before = std::exchange(案件.读出时行, *stored);
        if (id < 1 && 有未存修改()) {
            案件.读出时行 = before;
            return;
        }
        案件.号 = target;
        if (!name.isEmpty())
            案件.名称 = name;
        Com删除案件->show();
        写恢复文件(); // removed when the tables are what is stored, kept otherwise
        更新标题();
    });
}

// The delete of the window's case: gone means it was deleted, and the window is cleared as after
// a delete; still stored means it was not, and the window compares with what is stored now.
void Fo案款分配计算::核对不明的删除() {
    捕获错误([&] {
        const std::optional<案件行> stored = 读出存储案件(案件.号);
        if (!stored) {
            清除();
            Com删除案件->hide();
            return;
        }
        案件.读出时行 = *stored;
        更新标题();
    });
}
