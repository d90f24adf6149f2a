#include "run_all.h"

int runAppTests(int argc, char **argv);
int runTextFitsTests(int argc, char **argv);
int runQtTranslationTests(int argc, char **argv);

int main(int argc, char **argv) {
    return runAll(argc, argv, {runAppTests, runTextFitsTests, runQtTranslationTests});
}
