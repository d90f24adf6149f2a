#pragma once

#include <QString>

class QPrinter;

// What the printing system made of the job just handed over to a print queue. QPainter::end()
// spools the job and reports success even when the queue refuses it, so the queue's own answer
// is read afterwards: taken; refused, with the sentence "打印机“NAME”拒绝了打印任务：" and the
// reason (the job refused, the queue not accepting jobs, the job cancelled or aborted at once);
// or waiting in a paused queue, with the sentence that says so. A printer that is not a print
// queue (a PDF file) has nothing to report.
struct 打印回答 {
    enum 类 { 已收, 拒绝, 等待 } 结果 = 已收;
    QString 说明;
};
打印回答 打印结果(const QPrinter &printer);
