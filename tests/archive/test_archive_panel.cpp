// The stored cases as the clerk reaches them from the case fund window: the list and its
// panel, loading, the menus from the keyboard, the caption, and unsaved content.
#include "archive_window_fixture.h"

class TestArchivePanel : public QObject, public ArchiveWindowFixture {
    Q_OBJECT
  private slots:
    void initTestCase() { 开始(); }
    void init() { 准备(); }
    void cleanup() { 收拾(); }
    void listShowsEveryCaseOldestFirst();
    void confirmAndClickLoad();
    void loadRecomputesTheDistribution();
    void menusFromTheKeyboard();
    void enterKeepsStoredData_data();
    void enterKeepsStoredData();
    void captionNamesTheStoredCase();
    void unsavedContentIsAskedAbout_data();
    void unsavedContentIsAskedAbout();
};

void TestArchivePanel::listShowsEveryCaseOldestFirst() {
    for (const char *name : {"丙案", "甲案", "乙案"})
        存案(QString::fromUtf8(name), 两笔两项);
    列出并选(-1);
    FlexGrid *list = grid("MSFysj");
    QVERIFY(c<QFrame>("Pic原数据")->isVisible());
    QCOMPARE(list->Rows(), 4);
    QCOMPARE(list->ColWidth(0), 0);
    for (int r = 1; r <= 3; ++r) {
        QCOMPARE(list->TextMatrix(r, 0), QString::number(r));
        QVERIFY(list->item(r - 1, 1)->textAlignment() & Qt::AlignLeft);
    }
    QCOMPARE(list->TextMatrix(1, 1), QStringLiteral("丙案"));
    QCOMPARE(list->TextMatrix(3, 1), QStringLiteral("乙案"));
    QCOMPARE(list->Row(), 3);
    // Listing again rebuilds the list rather than adding to it, scrolled back to the left.
    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
    命令("读出内容");
    QCOMPARE(list->Rows(), 4);
    QCOMPARE(list->horizontalScrollBar()->value(), 0);
}

void TestArchivePanel::confirmAndClickLoad() {
    // An empty list: 确定 loads nothing and only puts the panel away.
    命令("读出内容");
    QCOMPARE(grid("MSFysj")->Row(), 0);
    命令("Com确定");
    QVERIFY(!c<QFrame>("Pic原数据")->isVisible());
    QCOMPARE(w->当前案件号(), 0);

    存案(QStringLiteral("甲案"), 两笔两项);
    案例 second = 两笔两项;
    second.交款[0][0] = QStringLiteral("第二案交款人");
    存案(QStringLiteral("乙案"), second);

    // 确定 without a pick loads the newest case and shows the delete button for it.
    命令("读出内容");
    命令("Com确定");
    QCOMPARE(w->当前案件号(), 2);
    QCOMPARE(表内容("MSFjk"), second.交款);
    QVERIFY(c<QPushButton>("Com删除案件")->isVisible());
    QVERIFY(!c<QFrame>("Pic原数据")->isVisible());

    // The list has the focus; a case picked with the arrow keys is the one 确定 loads; Esc puts
    // the panel away as 取消 does.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    命令("读出内容");
    QCOMPARE(grid("MSFysj")->currentRow(), 1);
    QTest::keyClick(grid("MSFysj"), Qt::Key_Escape);
    QVERIFY(!c<QFrame>("Pic原数据")->isVisible());
    QCOMPARE(w->当前案件号(), 2); // nothing loaded
    命令("读出内容");
    // The filter box takes the typing; Down goes on into the list, at the newest case.
    QCOMPARE(QApplication::focusWidget(), c<QLineEdit>("Txt案件筛选"));
    QTest::keyClick(c<QLineEdit>("Txt案件筛选"), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), grid("MSFysj"));
    QCOMPARE(grid("MSFysj")->currentRow(), 1);
    QTest::keyClick(grid("MSFysj"), Qt::Key_Up);
    // The hidden case-number column never takes the highlight.
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Home}) {
        QTest::keyClick(grid("MSFysj"), key);
        QCOMPARE(grid("MSFysj")->currentColumn(), 1);
    }
    命令("Com确定");
    QCOMPARE(w->当前案件号(), 1);
    // The focus goes to the payments table, not to 清除内容 under the panel, with its first cell
    // highlighted for the typing.
    QCOMPARE(QApplication::focusWidget(), grid("MSFjk"));
    QCOMPARE(grid("MSFjk")->currentIndex(), grid("MSFjk")->model()->index(0, 0));
    QCOMPARE(表内容("MSFjk"), 两笔两项.交款);

    // A click on a case loads it and shows the delete button.
    列出并选(1);
    QCOMPARE(w->当前案件号(), 1);
    QCOMPARE(表内容("MSFjk"), 两笔两项.交款);
    QCOMPARE(表内容("MSFzc")[1][3], QStringLiteral("100"));
    QVERIFY(c<QPushButton>("Com删除案件")->isVisible());
    QVERIFY(!c<QFrame>("Pic原数据")->isVisible());
    QVERIFY(grid("MSFzc")->item(0, 0)->textAlignment() & Qt::AlignLeft);
    // Loading with 确定 shows the delete button too.
    命令("读出内容");
    命令("Com确定");
    QVERIFY(c<QPushButton>("Com删除案件")->isVisible());

    // A click on the header row loads nothing.
    命令("Com清除");
    列出并选(0);
    QCOMPARE(w->当前案件号(), 0);
    QVERIFY(!c<QFrame>("Pic原数据")->isVisible());

    // A double click on 确定: its second click lands on the claims table where the button was
    // and opens no editor there; a click after a double click's time does.
    命令("读出内容");
    const QPoint at = grid("MSFzc")->格位置(1, 0).second.center();
    QTest::mouseClick(c<QPushButton>("Com确定"), Qt::LeftButton);
    QTest::mouseClick(grid("MSFzc")->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(!c<QLineEdit>("Tefp")->isVisible());
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(grid("MSFzc")->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(c<QLineEdit>("Tefp")->isVisible());

    // After a delete, a load shows the delete button again.
    命令("Com删除案件");
    QVERIFY(!c<QPushButton>("Com删除案件")->isVisible());
    命令("读出内容");
    命令("Com确定");
    QVERIFY(c<QPushButton>("Com删除案件")->isVisible());
}

void TestArchivePanel::loadRecomputesTheDistribution() {
    // Stored distributed amounts that are not the distribution.
    存案(QStringLiteral("甲案"),
         {{{"甲", "100", "", ""}},
          {{"乙", "60", "一般债权", "", "999", ""}, {"丙", "60", "一般债权", "", "999", ""}}});
    列出并选(1);
    QCOMPARE(grid("MSFzc")->TextMatrix(1, 4), QStringLiteral("50"));
    QCOMPARE(grid("MSFzc")->TextMatrix(2, 4), QStringLiteral("50"));
    QVERIFY(!w->分配说明().isEmpty());
}

// F10 opens the menu bar's commands for the keyboard, so that the archive's commands need no
// mouse: 数据保存 is chosen first and its menu opens; Enter there runs 存入内容.
void TestArchivePanel::menusFromTheKeyboard() {
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QStringList shown;
    QTimer keys;
    int ticks = 0;
    connect(&keys, &QTimer::timeout, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        if (++ticks > 100) // never hang: give up and close the menus
            QTest::keyClick(menu, Qt::Key_Escape);
        else if (!menu->activeAction() && menu->objectName() != QStringLiteral("菜单命令"))
            QTest::keyClick(menu, Qt::Key_Down); // a submenu opens with nothing chosen
        else if (menu->activeAction()) {
            shown << menu->activeAction()->text();
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    keys.start(5);
    QStringList boxes;
    {
        BoxAnswerer answerer(QMessageBox::Ok, QString(), false); // the name box, cancelled
        QTest::keyClick(w, Qt::Key_F10);
        QTRY_VERIFY(!answerer.texts.isEmpty());
        boxes = answerer.texts;
    }
    keys.stop();
    QCOMPARE(shown.last(), QStringLiteral("存入内容"));
    QCOMPARE(boxes.first(), QStringLiteral("请输入案件名称，以便以后查询"));
}

void TestArchivePanel::enterKeepsStoredData_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("overwrite") << "存入内容";
    QTest::newRow("delete") << "Com删除案件";
}

// The questions whose 是 overwrites or deletes a stored case take 否 on Enter.
void TestArchivePanel::enterKeepsStoredData() {
    QFETCH(QString, command);
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案"));
    grid("MSFzc")->setTextMatrix(1, 5, QStringLiteral("改过"));
    const Rows before = Reader(dbFile()).everything();
    QList<QMessageBox::StandardButton> pressed;
    {
        BoxAnswerer enter;
        enter.act = [&](QMessageBox *box) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus && box->isAncestorOf(focus) ? focus : box, Qt::Key_Return);
            pressed << box->standardButton(box->clickedButton());
        };
        if (auto *action = w->findChild<QAction *>(command))
            action->trigger();
        else
            c<QPushButton>(command.toUtf8().constData())->click();
        QCOMPARE(enter.buttons,
                 QList<QMessageBox::StandardButtons>{QMessageBox::Yes | QMessageBox::No});
    }
    QCOMPARE(pressed, QList<QMessageBox::StandardButton>{QMessageBox::No});
    QCOMPARE(Reader(dbFile()).everything(), before);
    QCOMPARE(w->当前案件号(), 1);
    QCOMPARE(grid("MSFzc")->TextMatrix(1, 5), QStringLiteral("改过"));
}

// The caption names the stored case on screen, from its save or load until a clear or delete,
// and ends with （未保存） while the tables hold what is not stored.
void TestArchivePanel::captionNamesTheStoredCase() {
    const QString none = QStringLiteral("案款分配计算");
    const auto named = [](const char *name) {
        return QStringLiteral("案款分配计算 — ") + QString::fromUtf8(name);
    };
    const QString unsaved = QStringLiteral("（未保存）");
    QCOMPARE(w->windowTitle(), none);
    const auto type = [this](const char *text) {
        clickGridCell(grid("MSFjk"), 1, 1);
        QTest::keyClicks(c<QLineEdit>("tEXTAK"), QString::fromUtf8(text));
    };
    type("7");
    QCOMPARE(w->windowTitle(), none + unsaved);
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案  "));
    QCOMPARE(w->windowTitle(), named("甲案"));
    type("5");
    QCOMPARE(w->windowTitle(), named("甲案") + unsaved);
    命令("存入内容");
    QCOMPARE(w->windowTitle(), named("甲案"));
    命令("Com清除");
    QCOMPARE(w->windowTitle(), none);
    填入(两笔两项);
    保存新案件(QStringLiteral("乙案"));
    QCOMPARE(w->windowTitle(), named("乙案"));
    列出并选(1);
    QCOMPARE(w->windowTitle(), named("甲案"));
    命令("读出内容");
    命令("Com确定"); // the newest case
    QCOMPARE(w->windowTitle(), named("乙案"));
    命令("Com删除案件");
    QCOMPARE(w->windowTitle(), none);
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案")); // refused: the name is taken
    QCOMPARE(w->windowTitle(), none);
}

void TestArchivePanel::unsavedContentIsAskedAbout_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");
    for (const char *command : {"close", "clear", "load"})
        for (const auto answer : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            QTest::newRow(QByteArray(command)
                              .append(answer == QMessageBox::Yes  ? ", Yes"
                                      : answer == QMessageBox::No ? ", No"
                                                                  : ", Cancel")
                              .constData())
                << command << int(answer);
}

// A stored case changed on screen: closing, clearing or loading asks first; 是 saves (and the
// overwrite question is answered 是), 否 goes on without, 取消 leaves everything as it was.
void TestArchivePanel::unsavedContentIsAskedAbout() {
    QFETCH(QString, command);
    QFETCH(int, answer);
    填入(两笔两项);
    保存新案件(QStringLiteral("甲案"));
    QVERIFY(!w->有未存修改());
    命令("Com清除"); // as saved: no question
    列出并选(1);
    grid("MSFjk")->setTextMatrix(1, 0, QStringLiteral("改过"));
    QVERIFY(w->有未存修改());
    QPointer<Fo案款分配计算> window = w;
    QStringList boxes;
    {
        BoxAnswerer answerer;
        answerer.act = [&](QMessageBox *box) {
            const bool question =
                box->text() == QStringLiteral("案件内容已修改，还没有保存。要保存吗？");
            box->button(question                        ? QMessageBox::StandardButton(answer)
                        : box->button(QMessageBox::Yes) ? QMessageBox::Yes
                                                        : QMessageBox::Ok)
                ->click();
        };
        if (command == QLatin1String("close"))
            w->close();
        else if (command == QLatin1String("clear"))
            w->Com清除->click();
        else
            列出并选(1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        boxes = answerer.texts;
    }
    QCOMPARE(boxes.value(0), QStringLiteral("案件内容已修改，还没有保存。要保存吗？"));
    const bool saved = answer == QMessageBox::Yes, goesOn = answer != QMessageBox::Cancel;
    QCOMPARE(boxes.size(), saved ? 3 : 1); // the overwrite question and 保存成功！
    QCOMPARE(Reader(dbFile()).scalar("SELECT 交款人 FROM 交款 ORDER BY id"),
             saved ? QStringLiteral("改过") : QStringLiteral("甲公司"));
    const QString shown = command == QLatin1String("clear") && goesOn ? QString()
                          : goesOn && !saved && command == QLatin1String("load")
                              ? QStringLiteral("甲公司")
                              : QStringLiteral("改过");
    if (command == QLatin1String("close") && goesOn) {
        QVERIFY(!window);
        w = new Fo案款分配计算;
        w->show();
    } else {
        QCOMPARE(grid("MSFjk")->TextMatrix(1, 0), shown);
        QCOMPARE(w->有未存修改(), !goesOn);
    }
}

int runArchivePanelTests(int argc, char **argv) {
    TestArchivePanel t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_archive_panel.moc"
