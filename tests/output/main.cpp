#include "run_all.h"

int runPageModelTests(int argc, char **argv);
int runPrintingTests(int argc, char **argv);
int runExportTests(int argc, char **argv);
int runPdfTests(int argc, char **argv);
int runDocxXmlTests(int argc, char **argv);
int runPlanDocumentTests(int argc, char **argv);

int main(int argc, char **argv) {
    return runAll(argc, argv, {runPageModelTests, runPrintingTests, runExportTests, runPdfTests,
                               runDocxXmlTests, runPlanDocumentTests});
}
