#include "run_all.h"

int runDistributionTests(int argc, char **argv);
int runCaseFundWindowTests(int argc, char **argv);
int runEditorKeysTests(int argc, char **argv);
int runEntryRefusalTests(int argc, char **argv);
int runTablePasteTests(int argc, char **argv);

int main(int argc, char **argv) {
    return runAll(argc, argv,
                  {runDistributionTests, runCaseFundWindowTests, runEditorKeysTests,
                   runEntryRefusalTests, runTablePasteTests});
}
