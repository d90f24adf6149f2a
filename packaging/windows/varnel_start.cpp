// The program of the Start-menu entry on Windows, the counterpart of the Linux launcher. Varnel
// keeps its case database varnel.db and its templates akfpb.xlsx (spreadsheet) and fpfa.docx
// (distribution plan document) in its working directory: this program makes
// %USERPROFILE%\Varnel, copies the pristine database and templates from the installation's share
// folder into it only when they are absent (stored cases and adapted templates are never
// replaced), and starts varnel.exe there. It uses the Windows API
// alone, so that it needs no DLL of its own.
#include <string>
#include <windows.h>

namespace {

const wchar_t *const 标题 = L"Varnel";

void 报错(const std::wstring &text) {
    MessageBoxW(nullptr, text.c_str(), 标题, MB_OK | MB_ICONERROR);
}

// The folder that holds this program, without a trailing backslash.
std::wstring 程序文件夹() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring 环境变量(const wchar_t *name) {
    const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0)
        return {};
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), n));
    return value;
}

bool 存在(const std::wstring &path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Copies the pristine file into the folder unless something of that name is there. The copy is
// made under a temporary name and moved without replacing, so an interrupted copy never leaves
// a half file that would count as present next time.
bool 缺则复制(const std::wstring &pristine, const std::wstring &folder, const wchar_t *name) {
    const std::wstring from = pristine + L'\\' + name;
    const std::wstring to = folder + L'\\' + name;
    if (!存在(from) || 存在(to))
        return true;
    const std::wstring temporary =
        folder + L"\\." + name + L'.' + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    if (!CopyFileW(from.c_str(), temporary.c_str(), FALSE)) {
        报错(L"无法复制 " + from + L" 到 " + folder);
        return false;
    }
    // The installed file is read-only for users; the copy is the clerk's own.
    SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!MoveFileExW(temporary.c_str(), to.c_str(), 0))
        DeleteFileW(temporary.c_str());
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    const std::wstring here = 程序文件夹();
    const std::wstring profile = 环境变量(L"USERPROFILE");
    if (profile.empty()) {
        报错(L"没有设置 USERPROFILE，找不到用户文件夹。");
        return 1;
    }
    const std::wstring folder = profile + L"\\Varnel";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        报错(L"无法创建文件夹 " + folder);
        return 1;
    }
    const std::wstring pristine = here + L"\\share";
    for (const wchar_t *name : {L"varnel.db", L"akfpb.xlsx", L"fpfa.docx"})
        if (!缺则复制(pristine, folder, name))
            return 1;

    const std::wstring program = here + L"\\varnel.exe";
    std::wstring commandLine = L'"' + program + L'"';
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(show);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        报错(L"无法启动程序 " + program);
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
