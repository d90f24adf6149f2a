#pragma once

#include <pugixml.hpp>

#include <string>

// Paragraph work of the document filler on WordprocessingML elements; element names are given
// with the part's prefix.

// The attribute that marks, on a break written for a value's paragraph separator (U+2029),
// where the paragraph is to be split.
inline constexpr const char *分段标记 = "varnel-split";

// Splits the paragraph at each marked break into paragraphs of its own properties (style,
// indents, spacing): the text before the mark stays, the text after it goes to a copy of the
// paragraph that follows it, with the runs' formatting. The marks go.
void 分段(pugi::xml_node p);

// A row (or a row-level content control) of the same table comes after this row.
bool 后有行(pugi::xml_node row, const std::string &行名, const std::string &控件名);

// Keeps the row with the next one on the page: every paragraph of the row is kept with the next.
void 与下行同页(pugi::xml_node row, const std::string &段名, const std::string &段属性名);
