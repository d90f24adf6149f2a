#include "app/about_window.h"
#include "app/app_info.h"
#include "app/main_window.h"
#include "box_answerer.h"
#include "common/app_dir.h"
#include "common/registry.h"
#include "common/twips.h"
#include "fee/fee_window.h"
#include "test_registry.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

QWidget *topLevel(const QString &name) {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

const QString 第一键 = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString 第二键 = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

} // namespace

class TestApp : public QObject {
    Q_OBJECT
  private slots:
    void init() { guard = std::make_unique<BoxAnswerer>(); }
    // A box no test expected fails the test; the guard has answered it.
    void cleanup() {
        QVERIFY2(guard->texts.isEmpty(), qPrintable(guard->texts.join(QStringLiteral(", "))));
    }
    void captionAndDirectory();
    void rootDirectoryGetsNoSecondSeparator();
    void controlsOfTheMainWindow();
    void calculatorOpensFreshEachTime_data();
    void calculatorOpensFreshEachTime();
    void aboutWindow();
    void tabOrderFollowsReading();
    void registryValues_data();
    void registryValues();
    void systemInformation_data();
    void systemInformation();

  private:
    std::unique_ptr<BoxAnswerer> guard; // answers any box the test did not expect
};

void TestApp::captionAndDirectory() {
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Fo工具主页 main;
    QDir::setCurrent(old);
    // The project's version, 1.0.1, written out here rather than read from the program.
    QCOMPARE(版本文本(), QStringLiteral("1.0.1"));
    QCOMPARE(main.windowTitle(), QStringLiteral("Varnel1.0.1"));
    QCOMPARE(应用目录(),
             QDir::toNativeSeparators(QDir(dir.path()).canonicalPath()) + QDir::separator());
}

void TestApp::rootDirectoryGetsNoSecondSeparator() {
    const QString old = QDir::currentPath();
    QDir::setCurrent(QDir::rootPath());
    Fo工具主页 main;
    QDir::setCurrent(old);
    QCOMPARE(应用目录(), QDir::toNativeSeparators(QDir::rootPath()));
}

void TestApp::controlsOfTheMainWindow() {
    Fo工具主页 main;
    struct Button {
        const char *name, *caption;
        int top;
        QColor face;
    };
    for (const Button &b : {Button{"Command1", "诉讼费计算", 600, QColor(0, 192, 192)},
                            Button{"Command4", "案款分配计算", 1080, QColor(0, 192, 192)},
                            Button{"Command2", "刑期计算", 1560, QColor(0, 192, 192)},
                            Button{"Command3", "利息计算", 2040, QColor(0, 192, 192)},
                            Button{"Command5", "关于软件", 2520, QColor(255, 255, 192)}}) {
        auto *button = main.findChild<QPushButton *>(QString::fromUtf8(b.name));
        QVERIFY2(button, b.name);
        QCOMPARE(button->text(), QString::fromUtf8(b.caption));
        QCOMPARE(缇上(button), b.top);
        QCOMPARE(缇左(button), 2280);
        QCOMPARE(button->palette().color(QPalette::Button), b.face);
    }
    auto *link = main.findChild<QLabel *>(QStringLiteral("Lab版本"));
    QVERIFY(link->font().underline());
    QCOMPARE(link->font().pointSizeF(), 9.0);
    QCOMPARE(前景色(link), QColor(0x80, 0x80, 0xFF));
    QVERIFY(link->text().contains(制作者网页));
    QCOMPARE(main.palette().color(QPalette::Window), QColor(Qt::white));
}

void TestApp::calculatorOpensFreshEachTime_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box"); // a text box that must start empty
    QTest::newRow("fee") << "Command1"
                         << "Fo诉讼费计算"
                         << "Tex标的";
    QTest::newRow("sentence") << "Command2"
                              << "Fo刑期计算"
                              << "Tex执行日期";
    QTest::newRow("case fund") << "Command4"
                               << "Fo案款分配计算"
                               << "tEXTAK";
    QTest::newRow("interest") << "Command3"
                              << "Fo利息计算"
                              << "Tex本金";
}

void TestApp::calculatorOpensFreshEachTime() {
    QFETCH(QString, button);
    QFETCH(QString, window);
    QFETCH(QString, box);
    Fo工具主页 main;
    main.show();
    for (int round = 0; round < 2; ++round) {
        auto *pressed = main.findChild<QPushButton *>(button);
        if (round == 0) {
            QTest::mouseClick(pressed, Qt::LeftButton);
        } else { // Enter on the focused button presses it as a click does
            pressed->setFocus();
            QTest::keyClick(pressed, Qt::Key_Return);
        }
        auto *opened = topLevel(window);
        QVERIFY(opened);
        QVERIFY(!main.isVisible());
        auto *text = opened->findChild<QLineEdit *>(box);
        QVERIFY(text->text().isEmpty());
        text->setText("123");
        if (round == 0)
            opened->findChild<QAction *>(QStringLiteral("回到上页"))->trigger();
        else
            opened->close(); // the close box
        settle();
        QVERIFY(main.isVisible());
        QVERIFY(!topLevel(window));
    }
}

void TestApp::aboutWindow() {
    Fo工具主页 main;
    main.show();
    for (const char *way : {"button", "close box", "Esc"}) {
        QTest::mouseClick(main.findChild<QPushButton *>(QStringLiteral("Command5")),
                          Qt::LeftButton);
        auto *about = topLevel(QStringLiteral("frmAbout"));
        QVERIFY(about);
        QVERIFY(!main.isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("关于 Varnel"));
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("版本 1.0.1"));
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label6(0)"))->text(),
                 QStringLiteral("https://varnel.example.org/"));
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label6(1)"))->text(),
                 QStringLiteral("support@varnel.example.org"));
        for (const char *link : {"Label6(0)", "Label6(1)"}) // &H00FF8080&: light blue
            QCOMPARE(前景色(about->findChild<QLabel *>(QString::fromUtf8(link))),
                     QColor(0x80, 0x80, 0xFF));
        QCOMPARE(
            about->findChild<QLabel *>(QStringLiteral("lblDisclaimer"))->text(),
            QStringLiteral("警告：本软件受著作权法保护。计算结果仅供参考，请以法律规定为准。"));
        QCOMPARE(about->findChild<QPushButton *>(QStringLiteral("cmdOK"))->text(),
                 QStringLiteral("确定"));
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("lblTitle"))->text(),
                 QStringLiteral("Varnel"));
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label3"))->text(),
                 QStringLiteral("\n有关软件更新及法院办公管理其他软件请登录："
                                "https://varnel.example.org/"));
        QCOMPARE(about->findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->text(),
                 QStringLiteral("系统信息(&S)..."));
        if (qstrcmp(way, "button") == 0) {
            QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
        } else if (qstrcmp(way, "Esc") == 0) {
            about->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(about));
            QTest::keyClick(about, Qt::Key_Escape);
        } else {
            about->close();
        }
        settle();
        QVERIFY(main.isVisible());
        QVERIFY(!topLevel(QStringLiteral("frmAbout")));
    }
}

void TestApp::tabOrderFollowsReading() {
    auto order = [](QWidget *window, const char *first, int presses) {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            return QStringList{"window not active"};
        window->findChild<QWidget *>(QString::fromUtf8(first))->setFocus();
        QStringList names;
        for (int i = 0; i < presses; ++i) {
            names << window->focusWidget()->objectName();
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        }
        return names;
    };
    Fo工具主页 main;
    QCOMPARE(order(&main, "Command1", 6), (QStringList{"Command1", "Command4", "Command2",
                                                        "Command3", "Command5", "Command1"}));
    auto *about = new frmAbout;
    QCOMPARE(order(about, "cmdOK", 3), (QStringList{"cmdOK", "cmdSysInfo", "cmdOK"}));
    about->close();
    settle();
}

void TestApp::registryValues_data() {
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("value");
    const QString text = QStringLiteral("C:\\工具\\msinfo32.exe");
    QTest::newRow("string with zero")
        << 1u
        << QByteArray(reinterpret_cast<const char *>((text + QChar(0)).utf16()),
                      (text.size() + 1) * 2)
        << true << text;
    QTest::newRow("string without zero")
        << 1u << QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2) << true
        << text;
    QTest::newRow("number") << 4u << QByteArray("\x2a\x01\x00\x00", 4) << true << "298";
    QTest::newRow("other type") << 3u << QByteArray("\x01\x02", 2) << true << "";
    QTest::newRow("too long") << 1u << QByteArray(2050, 'a') << false << "";
}

void TestApp::registryValues() {
    QFETCH(quint32, type);
    QFETCH(QByteArray, data);
    QFETCH(bool, read);
    QFETCH(QString, value);
    TestRegistry registry{{第一键, "PATH"}, {第一键, "MISSING"}};
    registry.set(第一键, "PATH", {type, data});
    QString out;
    QCOMPARE(GetKeyValue(注册表::本机, 第一键, "PATH", out), read);
    QCOMPARE(out, value);
    QString missing = "left over";
    QVERIFY(!GetKeyValue(注册表::本机, 第一键, "MISSING", missing));
    QVERIFY(missing.isEmpty());
}

void TestApp::systemInformation_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("toolInSecond");
    QTest::addColumn<bool>("started");
    QTest::newRow("neither value") << ""
                                   << "" << false << false;
    QTest::newRow("first value, no such file") << "/nonexistent/msinfo32"
                                               << "" << false << false;
    QTest::newRow("second value without the tool") << ""
                                                   << "DIR" << false << false;
    QTest::newRow("second value with the tool") << ""
                                                << "DIR" << true << true;
    QTest::newRow("first value wins") << "TOOL"
                                      << "" << true << true;
}

void TestApp::systemInformation() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, toolInSecond);
    QFETCH(bool, started);
    QTemporaryDir dir;
    const QString marker = dir.filePath("started");
    const QString tool = dir.filePath("MSINFO32.EXE");
    // The stand-in leaves the marker file beside itself when it runs.
    if (toolInSecond)
        QVERIFY(QFile::copy(QStringLiteral(SYSINFO_STAND_IN), tool));
    TestRegistry registry{{第一键, "PATH"}, {第二键, "MSINFO"}};
    if (!first.isEmpty())
        registry.setText(第一键, "PATH", first == "TOOL" ? tool : first);
    if (!second.isEmpty())
        registry.setText(第二键, "MSINFO", QDir::toNativeSeparators(dir.path()));
    frmAbout about;
    BoxAnswerer answerer;
    QTest::mouseClick(about.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    if (started) {
        QVERIFY(answerer.texts.isEmpty());
        QTRY_VERIFY(QFile::exists(marker));
    } else {
        QCOMPARE(answerer.texts, QStringList{"此时系统信息不可用"});
        QCOMPARE(answerer.titles, QStringList{"Varnel"});
    }
}

int runAppTests(int argc, char **argv) {
    TestApp t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_app.moc"
