#include "run_all.h"

int runCommonTests(int argc, char **argv);
int runGridTests(int argc, char **argv);
int runTableTextTests(int argc, char **argv);

int main(int argc, char **argv) {
    return runAll(argc, argv, {runCommonTests, runGridTests, runTableTextTests});
}
