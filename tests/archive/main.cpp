#include "run_all.h"

int runSqlTextTests(int argc, char **argv);
int runArchiveWindowTests(int argc, char **argv);
int runArchivePanelTests(int argc, char **argv);
int runCrashTests(int argc, char **argv);

int main(int argc, char **argv) {
    return runAll(argc, argv,
                  {runSqlTextTests, runArchiveWindowTests, runArchivePanelTests, runCrashTests});
}
