#include "run_all.h"

int runExportTests(int argc, char **argv);

int main(int argc, char **argv) {
    return runAll(argc, argv, {runExportTests});
}
