// Writes the template fpfa.docx of the distribution plan document (执行款分配方案): a plain court
// document on A4 in 仿宋_GB2312 16 pt with bold headings, the claims and payments tables each with one
// pattern row of fields, and the court's name and the date at the bottom right. An office may
// replace it with its own. Usage: make_plan_template <output file>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char *const 命名空间 =
    R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
    R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";
const char *const 声明 = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)" "\n";

// Text width of A4 with the margins below: 11906 - 1588 - 1474 twips.
constexpr int 版心宽 = 8844;

std::string 属性(const char *name, const std::string &value) {
    return std::string(" ") + name + "=\"" + value + "\"";
}

// One run of text, bold or of its own size (half points; 0: the style's); the characters the
// template writes need no escaping.
std::string 文字(const std::string &text, bool bold = false, int size = 0) {
    std::string props = bold ? "<w:b/><w:bCs/>" : "";
    if (size > 0)
        props += "<w:sz" + 属性("w:val", std::to_string(size)) + "/><w:szCs" +
                 属性("w:val", std::to_string(size)) + "/>";
    return std::string("<w:r>") + (props.empty() ? "" : "<w:rPr>" + props + "</w:rPr>") +
           "<w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

// A paragraph of the style, aligned as given (empty: as the style aligns it), kept with the next
// paragraph when asked.
std::string 段落(const std::string &style, const std::string &text, const std::string &jc = {},
                 bool bold = false, bool keepNext = false, int size = 0) {
    std::string p = "<w:p><w:pPr><w:pStyle" + 属性("w:val", style) + "/>";
    if (keepNext)
        p += "<w:keepNext/>";
    if (!jc.empty())
        p += "<w:jc" + 属性("w:val", jc) + "/>";
    return p + "</w:pPr>" + (text.empty() ? "" : 文字(text, bold, size)) + "</w:p>";
}

struct 单元格 {
    std::string 文本;
    std::string 对齐 = "center";
    int 跨列 = 1;
    int 字号 = 0; // half points; 0: the table's
};

// A row that never splits over two pages; the header row repeats on every page; a row kept with
// the next stays on the page of the row below it.
std::string 表格行(const std::vector<单元格> &cells, const std::vector<int> &widths, bool header,
                   bool keepNext) {
    std::string row = "<w:tr><w:trPr><w:cantSplit/>";
    if (header)
        row += "<w:tblHeader/>";
    row += "</w:trPr>";
    size_t col = 0;
    for (const 单元格 &c : cells) {
        int width = 0;
        for (int k = 0; k < c.跨列; ++k)
            width += widths[col++];
        row += "<w:tc><w:tcPr><w:tcW" + 属性("w:w", std::to_string(width)) + 属性("w:type", "dxa") +
               "/>";
        if (c.跨列 > 1)
            row += "<w:gridSpan" + 属性("w:val", std::to_string(c.跨列)) + "/>";
        row += "<w:vAlign w:val=\"center\"/></w:tcPr>" +
               段落("TableText", c.文本, c.对齐, header, keepNext, c.字号) +
               "</w:tc>";
    }
    return row + "</w:tr>";
}

// The rows listed in keptWithNext are kept with the row below them.
std::string 表格(const std::vector<int> &widths, const std::vector<std::vector<单元格>> &rows,
                 const std::vector<size_t> &keptWithNext = {}) {
    std::string table = "<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/><w:tblW" +
                        属性("w:w", std::to_string(版心宽)) +
                        " w:type=\"dxa\"/><w:jc w:val=\"center\"/><w:tblLayout w:type=\"fixed\"/>"
                        "</w:tblPr><w:tblGrid>";
    for (int w : widths)
        table += "<w:gridCol" + 属性("w:w", std::to_string(w)) + "/>";
    table += "</w:tblGrid>";
    for (size_t r = 0; r < rows.size(); ++r)
        table += 表格行(rows[r], widths, r == 0,
                        std::find(keptWithNext.begin(), keptWithNext.end(), r) !=
                            keptWithNext.end());
    return table + "</w:tbl>";
}

std::string 正文() {
    // An amount column holds 999,999,999.99 on one line in the table's 12 pt figures: 1 614
    // twips with the cell's margins in Times New Roman, 1 782 in the Noto CJK face LibreOffice
    // takes for it under a Chinese locale. 序号, 债权性质 and 备注 hold two characters a line, 序号
    // and 债权人 together 分配合计（大写）.
    const std::vector<int> 债权列宽{620, 1434, 1820, 700, 1820, 1820, 630};
    const std::vector<int> 交款列宽{620, 3604, 1820, 2800};
    std::string body;
    body += 段落("Title", "«法院名称»");
    body += 段落("Title", "执行款分配方案");
    body += 段落("a", "«案号»", "right");
    body += 段落("Body", "案件名称：«案件名称»");
    body += 段落("Body", "«分配说明»");
    body += 段落("Heading", "一、债权及分配金额");
    body += 表格(债权列宽,
                 {{{"序号"}, {"债权人"}, {"债权金额"}, {"债权性质"}, {"其中抵押优先金额"},
                   {"分配金额"}, {"备注"}},
                  {{"«序号»"},
                   {"«债权人»", "left"},
                   {"«债权金额»", "right"},
                   {"«债权性质»"},
                   {"«其中抵押优先金额»", "right"},
                   {"«分配金额»", "right"},
                   {"«备注»", "left"}},
                  // Totals of many claims above a hundred million run to 16 characters: 10 pt.
                  {{"合计", "center", 2},
                   {"«债权金额合计»", "right", 1, 20},
                   {""},
                   {""},
                   {"«分配合计»", "right", 1, 20},
                   {""}},
                  {{"分配合计（大写）", "center", 2}, {"«分配合计大写»", "left", 5}}},
                 {2});
    body += 段落("Body", "已交执行款超过债权总额，余款«余款»元退还交款人。");
    body += 段落("Heading", "二、已收执行款");
    body += 表格(交款列宽, {{{"序号"}, {"交款人"}, {"金额"}, {"交款时间"}},
                            {{"«序号»"}, {"«交款人»", "left"}, {"«交款金额»", "right"}, {"«交款时间»"}},
                            {{"合计", "center", 2}, {"«交款合计»", "right", 1, 20}, {""}}});
    // The last sentence goes with the court's name and the date: a signature never stands alone
    // on a page.
    body += 段落("Body", "债权人或者被执行人对本分配方案有异议的，可以自收到本分配方案之日起十五日内"
                         "向本院提出书面异议。",
                 "", false, true);
    body += 段落("a", "", "", false, true);
    body += 段落("Signature", "«法院名称»");
    body += 段落("Signature", "«日期»");
    return std::string(声明) + "<w:document" + 命名空间 + "><w:body>" + body +
           "<w:sectPr><w:footerReference w:type=\"default\" r:id=\"rIdFooter\"/>"
           "<w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"2098\" w:right=\"1474\" "
           "w:bottom=\"1984\" w:left=\"1588\" w:header=\"851\" w:footer=\"992\" w:gutter=\"0\"/>"
           "</w:sectPr></w:body></w:document>";
}

// 仿宋_GB2312 16 pt (三号) for the text, 方正小标宋简体 22 pt (二号) bold for the title, 12 pt
// (小四) in the tables, their figures in Times New Roman; lines 28 pt apart, the first line of a paragraph indented by two
// characters. The font table names the face a PC without these shows instead (仿宋, 宋体).
std::string 样式() {
    const std::string 仿宋 = R"(<w:rFonts w:ascii="仿宋_GB2312" w:eastAsia="仿宋_GB2312")"
                             R"( w:hAnsi="仿宋_GB2312" w:cs="仿宋_GB2312"/>)";
    const std::string 宋体 = R"(<w:rFonts w:ascii="方正小标宋简体" w:eastAsia="方正小标宋简体")"
                             R"( w:hAnsi="方正小标宋简体" w:cs="方正小标宋简体"/>)";
    const std::string 缩进 = R"(<w:ind w:firstLine="640"/>)";
    return std::string(声明) + "<w:styles" + 命名空间 +
           "><w:docDefaults><w:rPrDefault><w:rPr>" + 仿宋 +
           R"(<w:kern w:val="2"/><w:sz w:val="32"/><w:szCs w:val="32"/>)"
           R"(<w:lang w:val="en-US" w:eastAsia="zh-CN" w:bidi="ar-SA"/></w:rPr></w:rPrDefault>)"
           R"(<w:pPrDefault><w:pPr><w:widowControl w:val="0"/>)"
           R"(<w:spacing w:line="560" w:lineRule="exact"/><w:jc w:val="both"/></w:pPr>)"
           R"(</w:pPrDefault></w:docDefaults>)"
           R"(<w:style w:type="paragraph" w:default="1" w:styleId="a"><w:name w:val="Normal"/>)"
           R"(<w:qFormat/></w:style>)"
           R"(<w:style w:type="paragraph" w:styleId="Title"><w:name w:val="Title"/>)"
           R"(<w:basedOn w:val="a"/><w:next w:val="a"/><w:qFormat/><w:pPr>)"
           R"(<w:spacing w:line="640" w:lineRule="exact"/><w:jc w:val="center"/></w:pPr><w:rPr>)" +
           宋体 + R"(<w:b/><w:bCs/><w:sz w:val="44"/><w:szCs w:val="44"/></w:rPr></w:style>)"
           R"(<w:style w:type="paragraph" w:customStyle="1" w:styleId="Body">)"
           R"(<w:name w:val="正文首行缩进"/><w:basedOn w:val="a"/><w:qFormat/><w:pPr>)" +
           缩进 + R"(</w:pPr></w:style>)"
           R"(<w:style w:type="paragraph" w:customStyle="1" w:styleId="Heading">)"
           R"(<w:name w:val="小标题"/><w:basedOn w:val="a"/><w:next w:val="Body"/><w:qFormat/>)"
           R"(<w:pPr><w:keepNext/>)" +
           缩进 + R"(</w:pPr><w:rPr><w:b/><w:bCs/></w:rPr></w:style>)"
           R"(<w:style w:type="paragraph" w:customStyle="1" w:styleId="Signature">)"
           R"(<w:name w:val="落款"/><w:basedOn w:val="a"/><w:qFormat/><w:pPr><w:keepNext/>)"
           R"(<w:ind w:right="640"/><w:jc w:val="right"/></w:pPr></w:style>)"
           R"(<w:style w:type="paragraph" w:customStyle="1" w:styleId="TableText">)"
           R"(<w:name w:val="表格文字"/><w:basedOn w:val="a"/><w:qFormat/><w:pPr>)"
           R"(<w:spacing w:line="300" w:lineRule="auto"/><w:jc w:val="center"/></w:pPr>)"
           // Figures in the tables in Times New Roman, whose digits are half as wide as the
           // size (Nimbus Roman, of the same widths, where it is not installed).
           R"(<w:rPr><w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman"/>)"
           R"(<w:sz w:val="24"/><w:szCs w:val="24"/></w:rPr></w:style>)"
           R"(<w:style w:type="paragraph" w:styleId="Footer"><w:name w:val="footer"/>)"
           R"(<w:basedOn w:val="a"/><w:pPr><w:spacing w:line="240" w:lineRule="auto"/>)"
           R"(<w:jc w:val="center"/></w:pPr><w:rPr><w:sz w:val="28"/><w:szCs w:val="28"/>)"
           R"(</w:rPr></w:style>)"
           R"(<w:style w:type="table" w:default="1" w:styleId="TableNormal">)"
           R"(<w:name w:val="Normal Table"/><w:uiPriority w:val="99"/><w:semiHidden/>)"
           R"(<w:unhideWhenUsed/><w:tblPr><w:tblInd w:w="0" w:type="dxa"/><w:tblCellMar>)"
           R"(<w:top w:w="0" w:type="dxa"/><w:left w:w="108" w:type="dxa"/>)"
           R"(<w:bottom w:w="0" w:type="dxa"/><w:right w:w="108" w:type="dxa"/>)"
           R"(</w:tblCellMar></w:tblPr></w:style>)"
           R"(<w:style w:type="table" w:styleId="TableGrid"><w:name w:val="Table Grid"/>)"
           R"(<w:basedOn w:val="TableNormal"/><w:uiPriority w:val="39"/><w:tblPr><w:tblBorders>)"
           R"(<w:top w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
           R"(<w:left w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
           R"(<w:bottom w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
           R"(<w:right w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
           R"(<w:insideH w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
           R"(<w:insideV w:val="single" w:sz="4" w:space="0" w:color="auto"/>)"
           R"(</w:tblBorders><w:tblCellMar><w:left w:w="57" w:type="dxa"/>)"
           R"(<w:right w:w="57" w:type="dxa"/></w:tblCellMar></w:tblPr></w:style></w:styles>)";
}

// The page number in the middle of the footer: — 1 —.
std::string 页脚() {
    return std::string(声明) + "<w:ftr" + 命名空间 +
           R"(><w:p><w:pPr><w:pStyle w:val="Footer"/></w:pPr>)" + 文字("— ") +
           R"(<w:fldSimple w:instr=" PAGE "><w:r><w:t>1</w:t></w:r></w:fldSimple>)" + 文字(" —") +
           "</w:p></w:ftr>";
}

// The faces of the document, each with the face of the same kind that stands in for it where it
// is not installed.
std::string 字体表() {
    std::string fonts = std::string(声明) + "<w:fonts" + 命名空间 + ">";
    for (const auto &[name, alt] : {std::pair{"仿宋_GB2312", "仿宋"}, std::pair{"方正小标宋简体", "宋体"},
                                    std::pair{"仿宋", "FangSong"}, std::pair{"宋体", "SimSun"}})
        fonts += std::string("<w:font") + 属性("w:name", name) + "><w:altName" +
                 属性("w:val", alt) +
                 R"(/><w:charset w:val="86"/><w:family w:val="modern"/><w:pitch w:val="fixed"/>)"
                 "</w:font>";
    return fonts + "</w:fonts>";
}

std::string 设置() {
    return std::string(声明) + "<w:settings" + 命名空间 +
           R"(><w:zoom w:percent="100"/><w:defaultTabStop w:val="420"/>)"
           R"(<w:characterSpacingControl w:val="compressPunctuation"/><w:compat>)"
           // A justified line that ends in a line break of a value is not spread out.
           R"(<w:doNotExpandShiftReturn/>)"
           R"(<w:compatSetting w:name="compatibilityMode" w:uri="http://schemas.microsoft.com/)"
           R"(office/word" w:val="15"/></w:compat>)"
           R"(<w:themeFontLang w:val="en-US" w:eastAsia="zh-CN"/></w:settings>)";
}

const char *const 内容类型 =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
    R"(<Override PartName="/word/fontTable.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.fontTable+xml"/>)"
    R"(<Override PartName="/word/settings.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"/>)"
    R"(<Override PartName="/word/footer1.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml"/>)"
    R"(<Override PartName="/docProps/core.xml" ContentType="application/vnd.openxmlformats-package.core-properties+xml"/>)"
    R"(</Types>)";

const char *const 包关系 =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties" Target="docProps/core.xml"/>)"
    R"(</Relationships>)";

const char *const 正文关系 =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rIdStyles" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(<Relationship Id="rIdFonts" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/fontTable" Target="fontTable.xml"/>)"
    R"(<Relationship Id="rIdSettings" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings" Target="settings.xml"/>)"
    R"(<Relationship Id="rIdFooter" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer" Target="footer1.xml"/>)"
    R"(</Relationships>)";

const char *const 文档属性 =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" xmlns:dc="http://purl.org/dc/elements/1.1/">)"
    R"(<dc:title>执行款分配方案</dc:title><dc:creator>Varnel</dc:creator></cp:coreProperties>)";

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_plan_template <output file>\n");
        return 2;
    }
    const std::vector<std::pair<const char *, std::string>> parts{
        {"[Content_Types].xml", 内容类型}, {"_rels/.rels", 包关系},
        {"word/document.xml", 正文()},     {"word/_rels/document.xml.rels", 正文关系},
        {"word/styles.xml", 样式()},       {"word/settings.xml", 设置()},
        {"word/fontTable.xml", 字体表()},
        {"word/footer1.xml", 页脚()},      {"docProps/core.xml", 文档属性}};
    int error = 0;
    zip_t *z = zip_open(argv[1], ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!z) {
        std::fprintf(stderr, "make_plan_template: cannot write %s\n", argv[1]);
        return 1;
    }
    for (const auto &[name, content] : parts) {
        zip_source_t *source = zip_source_buffer(z, content.data(), content.size(), 0);
        const zip_int64_t index = source ? zip_file_add(z, name, source, ZIP_FL_ENC_UTF_8) : -1;
        // A fixed time (1 January 2024), so that every build writes the same file.
        if (index < 0 || zip_file_set_dostime(z, zip_uint64_t(index), 0, 0x5821, 0) != 0) {
            if (source && index < 0)
                zip_source_free(source);
            std::fprintf(stderr, "make_plan_template: %s\n", zip_strerror(z));
            zip_discard(z);
            return 1;
        }
    }
    if (zip_close(z) != 0) {
        std::fprintf(stderr, "make_plan_template: cannot write %s\n", argv[1]);
        zip_discard(z);
        return 1;
    }
    return 0;
}
