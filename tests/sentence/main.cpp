#include "run_all.h"

int runTermTests(int argc, char **argv);
int runSentenceWindowTests(int argc, char **argv);
int runSentenceKeysTests(int argc, char **argv);

int main(int argc, char **argv) {
    return runAll(argc, argv, {runTermTests, runSentenceWindowTests, runSentenceKeysTests});
}
