#pragma once

#include "common/registry.h"

#include <QList>
#include <QPair>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// The registry values the about window reads, put where it reads them: on Windows into the real
// registry under the local-machine root (Wine's own, when the tests run there), elsewhere into
// the stand-in. The values there before are put back when the object goes.
class TestRegistry {
  public:
    TestRegistry(std::initializer_list<QPair<QString, QString>> values) : kept(values) {
        for (const auto &v : kept)
            before.append(注册表::读原始值(注册表::本机, v.first, v.second));
        clear();
    }
    ~TestRegistry() {
        clear();
        for (int i = 0; i < kept.size(); ++i)
            if (before[i])
                set(kept[i].first, kept[i].second, *before[i]);
    }

    void set(const QString &key, const QString &name, const 注册表::原始值 &value) {
#ifdef Q_OS_WIN
        HKEY k = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide(key), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &k, nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExW(k, wide(name), 0, value.类型,
                       reinterpret_cast<const BYTE *>(value.数据.constData()),
                       DWORD(value.数据.size()));
        RegCloseKey(k);
#else
        注册表::置值(key, name, value);
#endif
    }
    void setText(const QString &key, const QString &name, const QString &text) {
        const QString zeroEnded = text + QChar(u'\0');
        set(key, name,
            {注册表::字符串类型,
             QByteArray(reinterpret_cast<const char *>(zeroEnded.utf16()), zeroEnded.size() * 2)});
    }
    // Removes the values this object looks after.
    void clear() {
#ifdef Q_OS_WIN
        for (const auto &v : kept) {
            HKEY k = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(v.first), 0, KEY_SET_VALUE, &k) !=
                ERROR_SUCCESS)
                continue;
            RegDeleteValueW(k, wide(v.second));
            RegCloseKey(k);
        }
#else
        注册表::清空();
#endif
    }

  private:
#ifdef Q_OS_WIN
    static LPCWSTR wide(const QString &s) {
        return reinterpret_cast<LPCWSTR>(s.utf16());
    }
#endif
    QList<QPair<QString, QString>> kept;
    QList<std::optional<注册表::原始值>> before;
};
