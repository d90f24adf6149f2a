#include "run_all.h"

int runInterestRulesTests(int argc, char **argv);
int runRateFileTests(int argc, char **argv);
int runInterestWindowTests(int argc, char **argv);

int main(int argc, char **argv) {
    return runAll(argc, argv, {runInterestRulesTests, runRateFileTests, runInterestWindowTests});
}
