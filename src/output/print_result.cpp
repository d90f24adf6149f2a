#include "output/print_result.h"

#include <QPrinter>

#ifdef VARNEL_CUPS
#include <cups/cups.h>

#include <memory>
#endif

namespace {

打印回答 拒绝(const QString &queue, const QString &reason) {
    return {打印回答::拒绝, QStringLiteral("打印机“%1”拒绝了打印任务：%2").arg(queue, reason)};
}

#ifdef VARNEL_CUPS

// The queue's own state: not accepting jobs (a refusal), or stopped (the job waits).
struct 队列 {
    bool 不接受 = false, 已暂停 = false;
};
队列 队列状态(const QByteArray &queue) {
    const std::unique_ptr<cups_dest_t, void (*)(cups_dest_t *)> dest(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr),
        [](cups_dest_t *d) { cupsFreeDests(1, d); });
    if (!dest)
        return {};
    const auto option = [&dest](const char *name) {
        return QByteArray(cupsGetOption(name, dest->num_options, dest->options));
    };
    return {option("printer-is-accepting-jobs") == "false",
            option("printer-state").toInt() == IPP_PSTATE_STOPPED};
}

// The state of the newest job of this user on the queue with the document's title.
QString 任务状态(const QByteArray &queue, const QByteArray &title) {
    cups_job_t *jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 1, CUPS_WHICHJOBS_ALL);
    const cups_job_t *newest = nullptr;
    for (int i = 0; i < count; ++i)
        if (title == jobs[i].title && (!newest || jobs[i].id > newest->id))
            newest = &jobs[i];
    QString reason;
    if (newest && newest->state == IPP_JSTATE_CANCELED)
        reason = QStringLiteral("打印任务已被取消。");
    else if (newest && newest->state == IPP_JSTATE_ABORTED)
        reason = QStringLiteral("打印任务已中止。");
    cupsFreeJobs(count, jobs);
    return reason;
}

#endif

} // namespace

打印回答 打印结果(const QPrinter &printer) {
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty())
        return {};
#ifdef VARNEL_CUPS
    // The job went to the queue without its instance ("PDF/draft" is queue "PDF").
    const QString name = printer.printerName().section(u'/', 0, 0);
    // The answer to the print request the job was just sent with, on this thread.
    if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
        const QString said = QString::fromUtf8(cupsLastErrorString()).trimmed();
        return 拒绝(name, said.isEmpty() ? QStringLiteral("打印系统没有接受这个任务。") : said);
    }
    const QByteArray queue = name.toLocal8Bit();
    const 队列 state = 队列状态(queue);
    if (state.不接受)
        return 拒绝(name, QStringLiteral("打印机不接受新的打印任务。"));
    if (const QString reason = 任务状态(queue, printer.docName().toLocal8Bit()); !reason.isEmpty())
        return 拒绝(name, reason);
    // A paused queue keeps the job and prints it when it is resumed: printing again would print
    // twice.
    if (state.已暂停)
        return {打印回答::等待,
                QStringLiteral("打印机“%1”已暂停，打印任务正在队列中等待，打印机恢复后就会打印。")
                    .arg(name)};
    return {};
#else
    // Without CUPS (Windows) the print engine's own state is all there is: the spooler's refusal
    // of the document leaves it in the error state.
    if (printer.printerState() != QPrinter::Error)
        return {};
    return 拒绝(printer.printerName(), QStringLiteral("打印系统没有接受这个任务。"));
#endif
}
