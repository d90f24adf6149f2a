#pragma once

#include <QString>
#include <exception>

// A run-time error of the program. Its description is the Chinese text shown to the user in a
// message box by the handler that catches it; the window stays open.
class VarnelError : public std::exception {
  public:
    explicit VarnelError(QString description) : 描述(std::move(description)) {}
    const QString &description() const { return 描述; }
    const char *what() const noexcept override { return "VarnelError"; }

  private:
    QString 描述;
};

// The descriptions the program raises itself.
inline const QString 溢出说明 = QStringLiteral("溢出");
inline const QString 类型不匹配说明 = QStringLiteral("类型不匹配");

[[noreturn]] inline void 溢出() {
    throw VarnelError(溢出说明);
}
