#pragma once

#include "settings_dir.h"

#include <QApplication>
#include <cstdio>
#include <functional>
#include <initializer_list>
#ifdef _WIN32
#include <windows.h>
#endif

// Runs several test classes of one test program in turn, with the program's own settings folder;
// fails when any of them fails.
inline int runAll(int argc, char **argv,
                  std::initializer_list<std::function<int(int, char **)>> suites) {
    测试设置文件夹();
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto &suite : suites)
        failures += suite(argc, argv) != 0;
#ifdef _WIN32
    // Under Wine a program whose tests reached the test server may not end while its libraries
    // let go of their connections: once the results are written, it ends at once.
    std::fflush(nullptr);
    ::TerminateProcess(::GetCurrentProcess(), UINT(failures));
#endif
    return failures;
}
