#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// Registry values read under the local-machine root. On Windows this is the real registry;
// elsewhere a stand-in that holds no values unless something (a test) puts them there.
namespace 注册表 {

using 根键 = std::uintptr_t;
constexpr 根键 本机 = 0x80000002; // HKEY_LOCAL_MACHINE

constexpr std::uint32_t 字符串类型 = 1; // REG_SZ
constexpr std::uint32_t 数字类型 = 4;   // REG_DWORD

// Values are read into a buffer of this many characters; a longer value cannot be read.
constexpr int 缓冲字符数 = 1024;

struct 原始值 {
    std::uint32_t 类型 = 0;
    QByteArray 数据; // as stored: UTF-16 for strings, four little-endian bytes for numbers
};

// Opens the key with full access and queries the value; std::nullopt when either fails.
std::optional<原始值> 读原始值(根键 root, const QString &keyPath, const QString &valueName);

// The stand-in's contents (no effect on Windows).
void 置值(const QString &keyPath, const QString &valueName, const 原始值 &value);
void 置字符串(const QString &keyPath, const QString &valueName, const QString &text);
void 清空();

} // namespace 注册表

// Reads one registry value as text into value: strings unchanged (a terminating zero
// character dropped), 32-bit numbers as decimal text, other types leave value as it was.
// False, with value empty, when the key cannot be opened or the value cannot be read.
bool GetKeyValue(注册表::根键 root, const QString &keyPath, const QString &valueName,
                 QString &value);
