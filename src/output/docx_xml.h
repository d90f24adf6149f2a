#pragma once

#include "output/document_fields.h"

#include <stdexcept>
#include <string>
#include <string_view>

// One part of a word-processing document (its body, a header or a footer) with its fields
// filled (see document_fields.h).
//
// Word splits a paragraph's text into runs wherever formatting, spelling marks or editing
// history change, so a field typed by an office may span several runs: fields are found in the
// joined text of a paragraph's runs; the value goes into the run where the field starts, which
// keeps its formatting, and the field's text leaves the runs after it, whose formatting stays.
// A line break in a value becomes a break of the line, a tab a tab, a paragraph separator
// (U+2029) the start of a new paragraph with the same properties, and a character that XML
// cannot hold is left out. The last copy of a repeated row that has rows after it is kept with
// the next row on the page (a totals row below the items stays with the last item). A field that is not given is left as written; a value is never read
// for fields again. A paragraph to be left out that cannot go is emptied instead: one that ends a
// section, the last of a table cell, the body, a header, a footer or a text box whose paragraphs
// would all go, and the one that ends a cell where the cell would end in a table. A table left
// without rows gives way to an empty paragraph. Rows inside a row-level content control (w:sdt)
// are rows of their table. Throws std::runtime_error when the text is not XML, 嵌套太深 when its
// elements nest more than 500 levels deep.
struct 嵌套太深 : std::runtime_error {
    嵌套太深() : std::runtime_error("elements nested too deep") {}
};
std::string 填写文书部件(std::string_view xml, const 文书字段 &fields);
