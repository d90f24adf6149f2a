#pragma once

#include "output/page_model.h"

#include <functional>

class QPagedPaintDevice;

// Where the pages go: asked once, when the first page is laid out, so that no sheet is used for
// a table that breaks a limit. The caller keeps the device alive until 输出各页 returns.
using 页面设备来源 = std::function<QPagedPaintDevice &()>;

// The pages of a table as the page window prints them, one sheet each, in one job: the page is
// prepared with the title, the note and the stored case's name (under the title; none when
// empty), the table is closed by its rule (entry row left out, totals row), rows whose texts
// wrap grow, the table is cut into pages (the limits are checked first), and every page is laid out in the page's layout grid, turned into labels and lines,
// numbered and drawn by 画页面, then cleared. The printer and the PDF file both get their pages
// here. Returns the number of pages; a table without rows or columns asks for no device.
int 输出各页(打印页面 &page, const 表格快照 &table, const QString &标题, const QString &注释,
             const 页面设备来源 &设备, const QString &案件名 = QString(),
             const 合计规则 &规则 = {});
