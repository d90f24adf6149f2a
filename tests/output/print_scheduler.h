#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cups/cups.h>

// A CUPS print scheduler of the test's own, run as root: configuration, spool and socket in a
// temporary folder, three queues that print to /dev/null ("accepting"; "rejecting", which takes
// no jobs; "stopped", which holds them), and this process's print requests sent to it.
class PrintScheduler {
  public:
    PrintScheduler() {
        const QString d = dir.path();
        write("cups-files.conf",
              QStringLiteral("ServerRoot %1\nRequestRoot %1\nTempDir %1\n"
                             "CacheDir %1\nStateDir %1\nErrorLog %1/log\n"
                             "AccessLog %1/log\nPageLog %1/log\nFileDevice Yes\n")
                  .arg(d));
        write("cupsd.conf", QStringLiteral("Listen %1\nBrowsing No\nWebInterface No\n<Location />"
                                           "\nOrder allow,deny\nAllow all\n</Location>\n<Policy "
                                           "default>\n<Limit All>\nOrder deny,allow\n</Limit>\n"
                                           "</Policy>\n")
                                .arg(socket()));
        QString queues;
        for (const char *q : {"accepting Idle Yes", "rejecting Idle No", "stopped Stopped Yes"}) {
            const QStringList f = QString::fromLatin1(q).split(u' ');
            queues += QStringLiteral("<Printer %1>\nDeviceURI file:///dev/null\nState %2\n"
                                     "Accepting %3\n</Printer>\n")
                          .arg(f[0], f[1], f[2]);
        }
        write("printers.conf", queues);
        cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                    {QStringLiteral("-f"), QStringLiteral("-c"), d + QStringLiteral("/cupsd.conf"),
                     QStringLiteral("-s"), d + QStringLiteral("/cups-files.conf")});
        cupsSetServer(socket().toLocal8Bit().constData());
        for (int i = 0; i < 100 && !ready(); ++i)
            QThread::msleep(50);
    }
    ~PrintScheduler() {
        cupsSetServer(nullptr);
        cupsd.terminate();
        cupsd.waitForFinished(5000);
    }
    PrintScheduler(const PrintScheduler &) = delete;
    PrintScheduler &operator=(const PrintScheduler &) = delete;

    bool ready() const {
        cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, "accepting", nullptr);
        cupsFreeDests(dest ? 1 : 0, dest);
        return dest != nullptr;
    }

    // The titles of the jobs a queue holds or has printed.
    QStringList jobTitles(const char *queue) const {
        cups_job_t *jobs = nullptr;
        const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
        QStringList titles;
        for (int i = 0; i < n; ++i)
            titles << QString::fromUtf8(jobs[i].title);
        cupsFreeJobs(n, jobs);
        return titles;
    }

  private:
    QString socket() const { return dir.filePath(QStringLiteral("cups.sock")); }
    void write(const char *name, const QString &text) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        if (f.open(QIODevice::WriteOnly))
            f.write(text.toUtf8());
    }

    QTemporaryDir dir;
    QProcess cupsd;
};
