#include "run_all.h"

int runArchiveEngineTests(int argc, char **argv);
int runCaseRecordTests(int argc, char **argv);
int runFailedCommandTests(int argc, char **argv);
int runServerWriteTests(int argc, char **argv);
int runServerCommitTests(int argc, char **argv);
int runCaseArchiveTests(int argc, char **argv);
int runCaseReadTests(int argc, char **argv);
int runArchiveFailureTests(int argc, char **argv);
int runServerFaultTests(int argc, char **argv);

int main(int argc, char **argv) {
    return runAll(argc, argv,
                  {runArchiveEngineTests, runCaseRecordTests, runFailedCommandTests,
                   runServerWriteTests, runServerCommitTests, runCaseArchiveTests, runCaseReadTests,
                   runArchiveFailureTests, runServerFaultTests});
}
