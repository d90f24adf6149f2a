#pragma once

#include <QApplication>
#include <utility>

// The busy cursor while a command waits on the database, put back before any box shows.
class 忙光标 {
  public:
    忙光标() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~忙光标() { 结束(); }
    忙光标(const 忙光标 &) = delete;
    忙光标 &operator=(const 忙光标 &) = delete;
    void 结束() {
        if (std::exchange(在, false))
            QApplication::restoreOverrideCursor();
    }

  private:
    bool 在 = true;
};
