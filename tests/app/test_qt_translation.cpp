// Qt's own windows speak Chinese: the save dialog of 保存为PDF文件 as a clerk sees it.
#include "app/qt_translation.h"
#include "box_answerer.h"
#include "common/grid.h"
#include "output/pdf_output.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QTest>
#include <QTranslator>
#include <memory>

class TestQtTranslation : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { translator = 装入Qt中文翻译(); }
    void cleanupTestCase() {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    void saveDialogSpeaksChinese_data();
    void saveDialogSpeaksChinese();

  private:
    QTranslator *translator = nullptr;
};

namespace {

// The text a control of the file dialog shows: a label by its name, a button by its role.
QString shown(QFileDialog *dialog, const QString &control) {
    if (auto *label = dialog->findChild<QLabel *>(control))
        return label->text();
    auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    const auto which =
        control == QStringLiteral("accept") ? QDialogButtonBox::Save : QDialogButtonBox::Cancel;
    return buttons && buttons->button(which) ? buttons->button(which)->text() : QString();
}

} // namespace

void TestQtTranslation::saveDialogSpeaksChinese_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("look in") << "lookInLabel" << "查找范围：";
    QTest::newRow("file name") << "fileNameLabel" << "文件名称(&N)：";
    QTest::newRow("save") << "accept" << "保存(&S)";
    QTest::newRow("cancel") << "cancel" << "取消";
}

void TestQtTranslation::saveDialogSpeaksChinese() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    BoxAnswerer guard;
    QString seen = QStringLiteral("(no dialog)");
    QTimer reader;
    reader.setInterval(10);
    connect(&reader, &QTimer::timeout, this, [&] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            seen = shown(dialog, control);
            dialog->reject();
        }
    });
    reader.start();
    QWidget window;
    FlexGrid grid(&window);
    window.show();
    输出PDF文件(&window, grid, QStringLiteral("案款分配表"), QString(), QString());
    QCOMPARE(seen, text);
    QVERIFY(guard.texts.isEmpty());
}

int runQtTranslationTests(int argc, char **argv) {
    TestQtTranslation t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_qt_translation.moc"
