#include "output/page_output.h"

#include "common/varnel_error.h"
#include "output/page_painter.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <optional>

namespace {

// One job on a paged device: the painter on it, every page drawn at its true size from the
// printable area's top left, scaled down evenly only where the printable area is smaller.
// Ending the job (also when an error leaves it) sends the pages drawn so far.
class 页面作业 {
  public:
    explicit 页面作业(QPagedPaintDevice &target) : device(target) {
        if (!painter.begin(&device))
            throw VarnelError(QStringLiteral("打印机不能开始打印。"));
        const int resolution = device.logicalDpiX();
        const double twips = resolution / 1440.0;
        const QRectF area = device.pageLayout().paintRectPixels(resolution);
        比例 = twips * std::min({1.0, area.width() / (页面尺寸::宽 * twips),
                                 area.height() / (页面尺寸::高 * twips)});
    }
    ~页面作业() {
        if (painter.isActive())
            painter.end();
    }
    页面作业(const 页面作业 &) = delete;
    页面作业 &operator=(const 页面作业 &) = delete;

    void 画(const 打印页面 &page) {
        if (页数 > 0 && !device.newPage())
            throw VarnelError(QStringLiteral("打印机不能开始新的一页。"));
        ++页数;
        painter.save();
        painter.scale(比例, 比例);
        画页面(painter, page);
        painter.restore();
    }

    // Ends the job: the printer hands it to the printing system, the PDF writer finishes its file.
    void 结束() {
        if (!painter.end())
            throw VarnelError(QStringLiteral("打印作业没有完成。"));
    }

  private:
    QPagedPaintDevice &device;
    QPainter painter;
    double 比例 = 1;
    int 页数 = 0;
};

// Preparation of the page window: the note, the case's name, the hidden layout grid without border, the table
// panel shown, the title, then the page geometry.
void 准备(打印页面 &page, const QString &标题, const QString &注释, const QString &案件名) {
    page.La注释.标题 = 注释;
    page.La案件名称.标题 = 案件名;
    page.MSF列表.Visible = false;
    page.MSF列表.Border = false;
    page.Picnr可见 = true;
    page.Lab标题名称.标题 = 标题;
    page.定页面尺寸();
}

} // namespace

int 输出各页(打印页面 &page, const 表格快照 &table, const QString &标题, const QString &注释,
             const 页面设备来源 &设备, const QString &案件名, const 合计规则 &规则) {
    准备(page, 标题, 注释, 案件名);
    表格快照 printed = 整理打印表格(table, 规则);
    撑高各行(printed, page.La内容标题[0].字号);
    // Every limit is checked here, before a sheet is used.
    const QList<版面> pages = 分页(printed);
    std::optional<页面作业> job;
    for (const 版面 &layout : pages) {
        填入布局(page.MSF列表, layout);
        page.送到标题();
        page.La页数.标题 = 页码文字(layout.页码);
        if (!job)
            job.emplace(设备());
        job->画(page);
        page.标题清空();
    }
    if (job)
        job->结束();
    return int(pages.size());
}
