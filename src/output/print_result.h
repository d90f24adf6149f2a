#pragma once

#include <QString>

class QPrinter;

// What the printing system made of the job just handed over to a print queue. QPainter::end()
// spools the job and reports success even when the queue refuses it, so the queue's own answer
// is read afterwards: an empty text when the job was taken, else the sentence for the clerk,
// "打印机“NAME”拒绝了打印任务：" and the reason (the job refused, the queue stopped or not
// accepting jobs, the job cancelled or aborted at once). A printer that is not a print queue
// (a PDF file) has nothing to report.
QString 打印结果(const QPrinter &printer);
