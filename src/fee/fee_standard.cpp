#include "fee/fee_standard.h"

#include "settings/archive_settings.h"

#include <QSettings>

namespace {

const QString 键 = QStringLiteral("fees/standard");

bool 有效(int standard) {
    return standard == 标准1989 || standard == 标准2007;
}

// The clerk's own settings file: Varnel/Varnel.ini under %APPDATA% on Windows, under ~/.config
// elsewhere.
QSettings 用户设置() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Varnel"),
                     QStringLiteral("Varnel"));
}

} // namespace

int 开窗收费标准() {
    const int remembered = 用户设置().value(键).toInt();
    if (有效(remembered))
        return remembered;
    const int office = 当前档案设置().收费标准;
    return 有效(office) ? office : 标准1989;
}

void 记住收费标准(int standard) {
    if (有效(standard))
        用户设置().setValue(键, standard);
}
