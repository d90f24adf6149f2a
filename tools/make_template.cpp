// Writes the spreadsheet template akfpb.xlsx into which the case fund window exports a
// distribution: the title, the case's name at C3, the summary box at B5 and the claims table from
// B8 down, set up to print on A4 with the table's header row on every page. Usage: make_template <output file>
#include <xlsxwriter.h>

#include <cstdio>

namespace {

const char *const 字体 = "宋体";
const char *const 金额格式 = "#,##0.00";
const lxw_color_t 表头底色 = 0xD9D9D9;

// The six headings of the claims table, in the order of the window's claims grid.
const char *const 表头[6] = {"债权人或案款项目", "债权金额", "债权性质",
                             "其中抵押优先金额", "分配金额", "备注"};
// Column widths of B..G in characters; the amount columns (C, E, F) hold 1,234,567,890.00.
const double 列宽[6] = {26, 16, 12, 18, 16, 26};
// Amount columns of the table (offsets from column B): written as numbers by the export.
bool 是金额列(int offset) {
    return offset == 1 || offset == 3 || offset == 4;
}

lxw_format *新格式(lxw_workbook *book, double size = 11) {
    lxw_format *f = workbook_add_format(book);
    format_set_font_name(f, 字体);
    format_set_font_size(f, size);
    return f;
}

struct 格式集 {
    lxw_format *标题, *说明标签, *案件名, *说明, *表头格, *文本格, *金额格;
};

格式集 建立格式(lxw_workbook *book) {
    格式集 s{};
    s.标题 = 新格式(book, 18);
    format_set_bold(s.标题);
    format_set_align(s.标题, LXW_ALIGN_CENTER);
    format_set_align(s.标题, LXW_ALIGN_VERTICAL_CENTER);

    s.说明标签 = 新格式(book);
    format_set_bold(s.说明标签);
    format_set_align(s.说明标签, LXW_ALIGN_VERTICAL_BOTTOM);

    s.案件名 = 新格式(book);
    format_set_align(s.案件名, LXW_ALIGN_LEFT);
    format_set_align(s.案件名, LXW_ALIGN_VERTICAL_BOTTOM);

    s.说明 = 新格式(book);
    format_set_text_wrap(s.说明);
    format_set_align(s.说明, LXW_ALIGN_LEFT);
    format_set_align(s.说明, LXW_ALIGN_VERTICAL_TOP);

    s.表头格 = 新格式(book);
    format_set_bold(s.表头格);
    format_set_text_wrap(s.表头格);
    format_set_align(s.表头格, LXW_ALIGN_CENTER);
    format_set_align(s.表头格, LXW_ALIGN_VERTICAL_CENTER);
    format_set_pattern(s.表头格, LXW_PATTERN_SOLID);
    format_set_bg_color(s.表头格, 表头底色);
    format_set_border(s.表头格, LXW_BORDER_THIN);

    s.文本格 = 新格式(book);
    format_set_num_format(s.文本格, "@");
    format_set_text_wrap(s.文本格);
    format_set_align(s.文本格, LXW_ALIGN_LEFT);
    format_set_align(s.文本格, LXW_ALIGN_VERTICAL_CENTER);
    format_set_border(s.文本格, LXW_BORDER_THIN);

    s.金额格 = 新格式(book);
    format_set_num_format(s.金额格, 金额格式);
    format_set_align(s.金额格, LXW_ALIGN_RIGHT);
    format_set_align(s.金额格, LXW_ALIGN_VERTICAL_CENTER);
    format_set_border(s.金额格, LXW_BORDER_THIN);
    return s;
}

// Rows and columns below count from 0 (row 1 is index 0, column B is index 1).
bool 写内容(lxw_worksheet *sheet, const 格式集 &s) {
    bool ok = true;
    auto check = [&ok](lxw_error e) { ok = ok && e == LXW_NO_ERROR; };
    check(worksheet_set_column(sheet, 0, 0, 3, nullptr));
    for (int c = 0; c < 6; ++c)
        check(worksheet_set_column(sheet, lxw_col_t(c + 1), lxw_col_t(c + 1), 列宽[c], nullptr));

    check(worksheet_set_row(sheet, 1, 32, nullptr));
    check(worksheet_merge_range(sheet, 1, 1, 1, 6, "案款分配表", s.标题));
    // The stored case's name goes into C3, beside its label.
    check(worksheet_set_row(sheet, 2, 20, nullptr));
    check(worksheet_write_string(sheet, 2, 1, "案件名称", s.说明标签));
    check(worksheet_merge_range(sheet, 2, 2, 2, 6, "", s.案件名));
    check(worksheet_set_row(sheet, 3, 20, nullptr));
    check(worksheet_write_string(sheet, 3, 1, "分配说明", s.说明标签));
    // Five lines of 11 pt text over the three rows of the summary box.
    for (lxw_row_t r = 4; r <= 6; ++r)
        check(worksheet_set_row(sheet, r, 26, nullptr));
    check(worksheet_merge_range(sheet, 4, 1, 6, 6, "", s.说明));

    check(worksheet_set_row(sheet, 7, 30, nullptr));
    for (int c = 0; c < 6; ++c) {
        check(worksheet_write_string(sheet, 7, lxw_col_t(c + 1), 表头[c], s.表头格));
        check(worksheet_write_blank(sheet, 8, lxw_col_t(c + 1), 是金额列(c) ? s.金额格 : s.文本格));
    }
    return ok;
}

bool 页面设置(lxw_worksheet *sheet) {
    worksheet_freeze_panes(sheet, 8, 0);
    worksheet_set_paper(sheet, 9); // A4
    worksheet_set_portrait(sheet);
    worksheet_fit_to_pages(sheet, 1, 0);
    return worksheet_repeat_rows(sheet, 7, 7) == LXW_NO_ERROR &&
           worksheet_set_footer(sheet, "&C第 &P 页，共 &N 页") == LXW_NO_ERROR;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_template <output file>\n");
        return 2;
    }
    lxw_workbook *book = workbook_new(argv[1]);
    if (!book) {
        std::fprintf(stderr, "make_template: cannot create %s\n", argv[1]);
        return 1;
    }
    lxw_worksheet *sheet = workbook_add_worksheet(book, "案款分配表");
    const bool ok = sheet && 写内容(sheet, 建立格式(book)) && 页面设置(sheet);
    const lxw_error closed = workbook_close(book);
    if (!ok || closed != LXW_NO_ERROR) {
        std::fprintf(stderr, "make_template: writing %s failed (%s)\n", argv[1],
                     lxw_strerror(closed));
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
