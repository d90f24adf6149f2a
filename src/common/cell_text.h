#pragma once

#include <QString>

// A text as a table cell may hold it. A text from outside (a paste from another program, a
// damaged file) can carry an unpaired UTF-16 surrogate, which a UTF-16 reader pairs with the
// character after it, or U+0000, which ends a text early: either can swallow the quote that
// closes an SQL literal. Each unpaired surrogate becomes U+FFFD and every U+0000 is removed;
// a text without them comes back unchanged.
QString 单元格文本(const QString &text);
