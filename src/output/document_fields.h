#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// What a word-processing template is filled with. A field is its name between « and » (U+00AB,
// U+00BB), as word processors show merge fields, anywhere in the text of the document, its
// headers and its footers.
using 字段值 = QHash<QString, QString>;

// A table row repeated once per item: a table row that holds one of the fields 标志 is a
// pattern, which gives way to one copy of itself per item, filled with the item's values (and
// the document's). Of two kinds of repeated row, the first listed claims a row with both.
struct 重复行 {
    QStringList 标志;
    QList<字段值> 各项;
};

struct 文书字段 {
    字段值 全文;
    QList<重复行> 重复;
    // A paragraph that holds one of these fields is left out (an optional sentence).
    QStringList 去段;
};
