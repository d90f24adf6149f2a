// The settings file that chooses the archive: what is accepted, what is refused and where.
#include "settings/archive_settings.h"
#include "archive_fixture.h"
#include "common/app_dir.h"
#include "common/varnel_error.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>


class ArchiveSettingsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QString &name, const QByteArray &text) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return path;
    }

  private slots:
    void reading_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QStringList>("refused"); // parts of the message; empty: accepted
        const QStringList ok;
        QTest::newRow("empty file") << QByteArray() << QString() << ok;
        QTest::newRow("empty key") << QByteArray("[archive]\nconnection=\n") << QString() << ok;
        QTest::newRow("comments") << QByteArray("; office\n# archive\n[archive]\n"
                                                "connection=host=db.court.local dbname=varnel "
                                                "user=clerk01 sslmode=verify-full\n")
                                  << "host=db.court.local dbname=varnel user=clerk01 "
                                     "sslmode=verify-full"
                                  << ok;
        QTest::newRow("service") << QByteArray("[archive]\r\nconnection = service=varnel\r\n")
                                 << "service=varnel" << ok;
        QTest::newRow("host list")
            << QByteArray("[archive]\nconnection=host=a,b dbname=v\n") << "host=a,b dbname=v" << ok;
        QTest::newRow("quoted value with password= inside")
            << QByteArray("[archive]\nconnection=dbname='a password=b'\n")
            << "dbname='a password=b'" << ok;
        QTest::newRow("password") << QByteArray("[archive]\nconnection=host=db password=x\n")
                                  << QString() << QStringList{"第 2 行", 口令文件名};
        QTest::newRow("password spaced")
            << QByteArray("\n[archive]\nconnection=host=db password = 'a b'\n") << QString()
            << QStringList{"第 3 行", "PGPASSFILE"};
        QTest::newRow("other key") << QByteArray("[archive]\ntimeout=5\n") << QString()
                                   << QStringList{"第 2 行", "timeout"};
        QTest::newRow("key outside the section")
            << QByteArray("connection=host=db\n") << QString() << QStringList{"第 1 行"};
        QTest::newRow("section header commented out")
            << QByteArray(";[archive]\nconnection=host=db\n") << QString()
            << QStringList{"第 2 行", "缺少 [archive]"};
        QTest::newRow("other section") << QByteArray("[archive]\nconnection=host=db\n[ui]\n")
                                       << QString() << QStringList{"第 3 行", "[ui]"};
        QTest::newRow("not key=value")
            << QByteArray("[archive]\nhost db\n") << QString() << QStringList{"第 2 行", "格式"};
        QTest::newRow("twice") << QByteArray("[archive]\nconnection=a=1\nconnection=b=2\n")
                               << QString() << QStringList{"第 3 行"};
        QTest::newRow("open quote") << QByteArray("[archive]\nconnection=host='db\n") << QString()
                                    << QStringList{"第 2 行", "单引号"};
        QTest::newRow("key without value") << QByteArray("[archive]\nconnection=host\n")
                                           << QString() << QStringList{"第 2 行", "host"};
        // What Qt's driver or libpq would read differently from what is checked here.
        const QStringList semicolon{"第 2 行", "分号"};
        QTest::newRow("semicolon") << QByteArray("[archive]\nconnection=user=x;password=y\n")
                                   << QString() << semicolon;
        // An escape is not decoded: libpq, as the check here, reads \x as x (user xx3bpassword=y).
        QTest::newRow("escape as written")
            << QByteArray("[archive]\nconnection=user=x\\x3bpassword=y\n")
            << "user=x\\x3bpassword=y" << ok;
        QTest::newRow("NUL") << QByteArrayLiteral("[archive]\nconnection=host=h\0 user=x\n")
                             << QString() << QStringList{"第 2 行", "空字符"};
        QTest::newRow("sslpassword") << QByteArray("[archive]\nconnection=host=h sslpassword=x\n")
                                     << QString() << QStringList{"第 2 行", "密码"};
        QTest::newRow("unknown key") << QByteArray("[archive]\nconnection=host=h colour=red\n")
                                     << QString() << QStringList{"第 2 行", "colour"};
        QTest::newRow("empty last value") << QByteArray("[archive]\nconnection=host=h user=\n")
                                          << QString() << QStringList{"第 2 行", "user="};
        QTest::newRow("empty value before a key")
            << QByteArray("[archive]\nconnection=user= dbname=x\n") << QString()
            << QStringList{"第 2 行", "user="};
        QTest::newRow("trailing backslash")
            << QByteArray("[archive]\nconnection=host=h user=a\\\\\n") << QString()
            << QStringList{"第 2 行", "反斜杠"};
        QTest::newRow("URI") << QByteArray("[archive]\nconnection=postgresql://u:p@h/db\n")
                             << QString() << QStringList{"第 2 行", "名称=值"};
    }
    void reading() {
        QFETCH(QByteArray, text);
        QFETCH(QString, connection);
        QFETCH(QStringList, refused);
        const QString file = write(QStringLiteral("varnel.ini"), text);
        try {
            const 档案设置 s = 读档案设置(file);
            QVERIFY2(refused.isEmpty(), "accepted");
            QCOMPARE(s.连接串, connection);
            QCOMPARE(s.在服务器上(), !connection.isEmpty());
        } catch (const VarnelError &e) {
            QVERIFY2(!refused.isEmpty(), qPrintable(e.description()));
            QVERIFY2(e.description().contains(QDir::toNativeSeparators(file)),
                     qPrintable(e.description()));
            for (const QString &part : refused)
                QVERIFY2(e.description().contains(part), qPrintable(e.description()));
        }
    }

    // The court's name for the distribution plan document and the fee schedule, in the same file.
    void officeKeys_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("court");
        QTest::addColumn<int>("standard");
        QTest::addColumn<QStringList>("refused"); // parts of the message; empty: accepted
        const QStringList ok;
        QTest::newRow("none") << QByteArray("[archive]\nconnection=host=db\n") << QString() << 0 << ok;
        QTest::newRow("court alone") << QByteArray("[office]\ncourt = 北京市朝阳区人民法院 \n")
                                     << "北京市朝阳区人民法院" << 0 << ok;
        QTest::newRow("both sections")
            << QByteArray("[office]\r\ncourt=某某法院\r\n[archive]\r\nconnection=host=db\r\n")
            << "某某法院" << 0 << ok;
        QTest::newRow("with a comma") << QByteArray("[office]\ncourt=某某法院,执行局\n")
                                      << "某某法院,执行局" << 0 << ok;
        QTest::newRow("court in [archive]") << QByteArray("[archive]\ncourt=某某法院\n") << QString()
                                            << 0 << QStringList{"第 2 行", "缺少 [office]"};
        QTest::newRow("connection in [office]")
            << QByteArray("[office]\nconnection=host=db\n") << QString() << 0
            << QStringList{"第 2 行", "缺少 [archive]"};
        QTest::newRow("court twice") << QByteArray("[office]\ncourt=甲\ncourt=乙\n") << QString()
                                     << 0 << QStringList{"第 3 行", "court"};
        QTest::newRow("other key in [office]") << QByteArray("[office]\nname=甲\n") << QString()
                                               << 0 << QStringList{"第 2 行", "name"};
        // 某某法院 as a Chinese Windows' Notepad saved it before UTF-8 was its default (GBK).
        QTest::newRow("not UTF-8") << QByteArray("[office]\ncourt=\xC4\xB3\xC4\xB3\xB7\xA8\xD4\xBA\n")
                                   << QString() << 0 << QStringList{"第 2 行", "UTF-8"};
        QTest::newRow("a comment not UTF-8")
            << QByteArray("; \xC4\xB3\xC4\xB3\n[office]\ncourt=某某法院\n") << "某某法院" << 0 << ok;
            // The office's default fee schedule, beside the archive or alone.
        QTest::newRow("2007") << QByteArray("[fees]\nstandard=2007\n") << QString() << 2007 << ok;
        QTest::newRow("1989 after the archive")
            << QByteArray("[archive]\nconnection=host=db\n[fees]\nstandard = 1989\n") << QString()
            << 1989 << ok;
        QTest::newRow("other year") << QByteArray("[fees]\nstandard=2008\n") << QString() << 0
                                    << QStringList{"第 2 行", "2008", "1989 或 2007"};
        QTest::newRow("standard twice") << QByteArray("[fees]\nstandard=2007\nstandard=1989\n")
                                        << QString() << 0 << QStringList{"第 3 行", "standard"};
        QTest::newRow("standard in [archive]") << QByteArray("[archive]\nstandard=2007\n")
                                               << QString() << 0
                                               << QStringList{"第 2 行", "缺少 [fees]"};
    }
    void officeKeys() {
        QFETCH(QByteArray, text);
        QFETCH(QString, court);
        QFETCH(int, standard);
        QFETCH(QStringList, refused);
        const QString file = write(QStringLiteral("varnel.ini"), text);
        try {
            const 档案设置 read = 读档案设置(file);
            QCOMPARE(read.法院名称, court);
            QCOMPARE(read.收费标准, standard);
            QVERIFY2(refused.isEmpty(), "accepted");
        } catch (const VarnelError &e) {
            QVERIFY2(!refused.isEmpty(), qPrintable(e.description()));
            for (const QString &part : refused + QStringList{QDir::toNativeSeparators(file)})
                QVERIFY2(e.description().contains(part), qPrintable(e.description()));
        }
    }

    // The application directory's file, else the system's, which VARNEL_SETTINGS_DIR moves.
    void whichFile() {
        QTemporaryDir app, etc;
        const QString system = etc.filePath(QStringLiteral("varnel.ini"));
        QCOMPARE(设置文件(app.path(), system), QString());
        qputenv("VARNEL_SETTINGS_DIR", QDir::toNativeSeparators(etc.path()).toLocal8Bit());
        const auto unset = qScopeGuard([] { qunsetenv("VARNEL_SETTINGS_DIR"); });
        QCOMPARE(系统设置文件(), system);
        设应用目录(app.path());
        QCOMPARE(当前档案设置().文件, QString());
        QFile office(system);
        QVERIFY(office.open(QIODevice::WriteOnly) && office.write("[office]\ncourt=甲\n") > 0);
        office.close();
        QCOMPARE(设置文件(app.path(), system), system);
        QCOMPARE(当前档案设置().法院名称, QStringLiteral("甲"));
        const QString local = app.filePath(QStringLiteral("varnel.ini"));
        QFile(local).open(QIODevice::WriteOnly);
        QCOMPARE(设置文件(app.path() + u'/', system), local);
        QCOMPARE(当前档案设置().法院名称, QString());
    }

    // The fuzzers' files (tests/archive/findings): each read as written, or refused by its line.
    void findings_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("court");
        QTest::addColumn<QStringList>("refused"); // parts of the message; empty: accepted
        const auto row = [](const char *file, const QString &court, const QStringList &refused) {
            QTest::newRow(file) << QString::fromUtf8(file) << court << refused;
        };
        const QStringList lone{"回车符（CR）"}, ok;
        row("ini_cr_smuggles_password.ini", {}, QStringList{"第 2 行"} + lone);
        row("ini_cr_unchecked_connection.ini", {}, QStringList{"第 3 行"} + lone);
        row("ini_backslash_continuation_eats_next_line.ini", {}, {"第 2 行", "反斜杠"});
        row("ini_court_semicolon_cut.ini", "某某法院;分庭", ok);
        row("ini_court_comma_blank_lost.ini", "a, b", ok);
        row("ini_court_escape_decoded.ini", "某某\\x41法院", ok);
        row("ini_court_quotes_removed.ini", "某某法院", ok);
        row("ini_court_bom_char_dropped.ini", QChar(0xFEFF) + QStringLiteral("某某法院"), ok);
        row("ini_court_incomplete_utf8_dropped.ini", {}, {"第 2 行", "UTF-8"});
        row("ini_unknown_section_refused.ini", {}, {"第 3 行", "[printing]"});
    }
    void findings() {
        QFETCH(QString, file);
        QFETCH(QString, court);
        QFETCH(QStringList, refused);
        const QString path = QStringLiteral(ARCHIVE_FINDINGS_DIR "/") + file;
        QVERIFY(QFile::exists(path));
        try {
            const 档案设置 read = 读档案设置(path);
            QVERIFY2(refused.isEmpty(), "accepted");
            QCOMPARE(read.法院名称, court);
            QCOMPARE(read.连接串, QString());
        } catch (const VarnelError &e) {
            QVERIFY2(!refused.isEmpty(), qPrintable(e.description()));
            for (const QString &part : refused + QStringList{QDir::toNativeSeparators(path)})
                QVERIFY2(e.description().contains(part), qPrintable(e.description()));
        }
    }

    void completing_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("handed");
        const QString alive = " keepalives_idle=30 keepalives_interval=10 keepalives_count=3";
        QTest::newRow("neither") << "host=db"
                                 << "host=db connect_timeout=5 application_name=varnel" + alive;
        QTest::newRow("own timeout")
            << "service=varnel connect_timeout=20"
            << "service=varnel connect_timeout=20 application_name=varnel" + alive;
        QTest::newRow("all") << "application_name='x y' connect_timeout = 2 keepalives_idle=5 "
                                "keepalives_interval=1 keepalives_count=9"
                             << "application_name='x y' connect_timeout = 2 keepalives_idle=5 "
                                "keepalives_interval=1 keepalives_count=9";
        QTest::newRow("in a value only")
            << "options='-c connect_timeout=1'"
            << "options='-c connect_timeout=1' connect_timeout=5 application_name=varnel" + alive;
    }
    void completing() {
        QFETCH(QString, given);
        QFETCH(QString, handed);
        QCOMPARE(补全连接串(given), handed);
    }
};

QTEST_GUILESS_MAIN(ArchiveSettingsTest)
#include "test_archive_settings.moc"
