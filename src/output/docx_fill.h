#pragma once

#include "output/document_fields.h"

#include <QByteArray>
#include <QString>

// A document made from a word-processing template (.docx): the template's package with its
// main document part, and the headers and footers that part refers to, filled (docx_xml.h);
// every other part as it is. The template is only read. Failures throw a VarnelError that names
// the template as a 种类 ("分配方案模板"): missing, not a zip archive, a part damaged or not
// UTF-8, no main document part, a filled part nesting elements more than 500 levels deep.
QByteArray 填写文书(const QString &模板, const QString &种类, const 文书字段 &fields);
