#include "common/registry.h"

#include <QMap>
#include <QPair>
#include <QtEndian>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace 注册表 {

#ifdef Q_OS_WIN

std::optional<原始值> 读原始值(根键 root, const QString &keyPath, const QString &valueName) {
    // The predefined root handles are sign-extended values; name the one the program uses.
    const HKEY rootKey = root == 本机 ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(root);
    HKEY key = nullptr;
    if (RegOpenKeyExW(rootKey, reinterpret_cast<LPCWSTR>(keyPath.utf16()), 0, KEY_ALL_ACCESS,
                      &key) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t buffer[缓冲字符数];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG rc = RegQueryValueExW(key, reinterpret_cast<LPCWSTR>(valueName.utf16()), nullptr,
                                     &type, reinterpret_cast<LPBYTE>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return std::nullopt;
    return 原始值{type, QByteArray(reinterpret_cast<const char *>(buffer), int(size))};
}

void 置值(const QString &, const QString &, const 原始值 &) {}
void 清空() {}

#else

namespace {
QMap<QPair<QString, QString>, 原始值> &store() {
    static QMap<QPair<QString, QString>, 原始值> values;
    return values;
}
} // namespace

std::optional<原始值> 读原始值(根键 root, const QString &keyPath, const QString &valueName) {
    if (root != 本机)
        return std::nullopt;
    const auto it = store().constFind({keyPath, valueName});
    if (it == store().constEnd() || it->数据.size() > 缓冲字符数 * 2)
        return std::nullopt;
    return *it;
}

void 置值(const QString &keyPath, const QString &valueName, const 原始值 &value) {
    store().insert({keyPath, valueName}, value);
}

void 清空() {
    store().clear();
}

#endif

void 置字符串(const QString &keyPath, const QString &valueName, const QString &text) {
    const QString zeroEnded = text + QChar(u'\0');
    置值(keyPath, valueName,
         原始值{字符串类型, QByteArray(reinterpret_cast<const char *>(zeroEnded.utf16()),
                                       zeroEnded.size() * 2)});
}

} // namespace 注册表

bool GetKeyValue(注册表::根键 root, const QString &keyPath, const QString &valueName,
                 QString &value) {
    const auto raw = 注册表::读原始值(root, keyPath, valueName);
    if (!raw) {
        value.clear();
        return false;
    }
    if (raw->类型 == 注册表::字符串类型) {
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(raw->数据.constData()),
                                          raw->数据.size() / 2);
        if (text.endsWith(QChar(u'\0')))
            text.chop(1);
        value = text;
    } else if (raw->类型 == 注册表::数字类型 && raw->数据.size() >= 4) {
        value = QString::number(qFromLittleEndian<quint32>(raw->数据.constData()));
    }
    return true;
}
