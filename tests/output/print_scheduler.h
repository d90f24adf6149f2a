#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cups/cups.h>

// A CUPS print scheduler of the test's own: its configuration, spool and socket in a temporary
// folder, three queues that print to /dev/null ("accepting"; "rejecting", which takes no jobs;
// "stopped", which holds them), and this process's print requests sent to it. Needs cupsd and
// root (the scheduler changes the owner of its spool).
class PrintScheduler {
  public:
    PrintScheduler() {
        if (!QFile::exists(QStringLiteral("/usr/sbin/cupsd"))) {
            problem = QStringLiteral("no /usr/sbin/cupsd");
            return;
        }
        const QString d = dir.path();
        for (const char *sub : {"spool/tmp", "cache", "state"})
            QDir(d).mkpath(QString::fromLatin1(sub));
        write("cups-files.conf", QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\n"
                                                "TempDir %1/spool/tmp\nCacheDir %1/cache\n"
                                                "StateDir %1/state\nErrorLog %1/error_log\n"
                                                "AccessLog %1/access_log\nPageLog %1/page_log\n"
                                                "FileDevice Yes\n")
                                     .arg(d));
        write("cupsd.conf", QStringLiteral("Listen %1\nBrowsing No\nWebInterface No\n"
                                           "DefaultAuthType None\nLogLevel warn\n"
                                           "<Location />\nOrder allow,deny\nAllow all\n"
                                           "</Location>\n<Policy default>\n<Limit All>\n"
                                           "Order deny,allow\n</Limit>\n</Policy>\n")
                                .arg(socket()));
        QString queues;
        for (const auto &[name, state, accepting] :
             {std::tuple{"accepting", "Idle", "Yes"}, std::tuple{"rejecting", "Idle", "No"},
              std::tuple{"stopped", "Stopped", "Yes"}})
            queues += QStringLiteral("<Printer %1>\nDeviceURI file:///dev/null\nState %2\n"
                                     "Accepting %3\nShared No\n</Printer>\n")
                          .arg(QLatin1String(name), QLatin1String(state), QLatin1String(accepting));
        write("printers.conf", queues);
        cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                    {QStringLiteral("-f"), QStringLiteral("-c"), d + QStringLiteral("/cupsd.conf"),
                     QStringLiteral("-s"), d + QStringLiteral("/cups-files.conf")});
        cupsSetServer(socket().toLocal8Bit().constData());
        qputenv("CUPS_SERVER", socket().toLocal8Bit());
        for (int i = 0; i < 100 && !ready(); ++i)
            QThread::msleep(50);
        if (!ready())
            problem = QStringLiteral("the scheduler did not start: ") +
                      QString::fromLocal8Bit(cupsd.readAll());
    }
    ~PrintScheduler() {
        cupsSetServer(nullptr);
        qunsetenv("CUPS_SERVER");
        cupsd.terminate();
        cupsd.waitForFinished(5000);
    }
    PrintScheduler(const PrintScheduler &) = delete;
    PrintScheduler &operator=(const PrintScheduler &) = delete;

    // Empty when the scheduler runs, else why it does not.
    QString problem;

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
    bool ready() const {
        cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, "accepting", nullptr);
        cupsFreeDests(dest ? 1 : 0, dest);
        return dest != nullptr;
    }

    QTemporaryDir dir;
    QProcess cupsd;
};
