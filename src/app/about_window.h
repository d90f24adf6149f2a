#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The about window: product name and version, the maker's web page, and a button that starts
// the operating system's system-information tool found through the registry.
class frmAbout : public QWidget {
  public:
    frmAbout();

    void StartSysInfo();

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *Label6[2] = {};
    QLabel *lblDisclaimer = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void 建立控件();
    void 载入();
};
