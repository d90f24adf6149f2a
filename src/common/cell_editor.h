#pragma once

#include <QComboBox>
#include <QLineEdit>

// An editor laid over a grid cell. It stays bound to its cell while the grid scrolls: hidden
// while the cell is out of view and shown again when it comes back. It remembers that it was
// hidden only for that reason; any other hiding or showing (a click on another cell, the clear
// command) forgets it.
template <class Base> class 格上编辑器 : public Base {
  public:
    using Base::Base;

    bool 滚出视野() const { return 滚出; }
    void 滚出隐藏() {
        Base::setVisible(false);
        滚出 = true;
    }
    void setVisible(bool visible) override {
        滚出 = false;
        Base::setVisible(visible);
    }

  private:
    bool 滚出 = false;
};

using 格上文本框 = 格上编辑器<QLineEdit>;
using 格上组合框 = 格上编辑器<QComboBox>;
