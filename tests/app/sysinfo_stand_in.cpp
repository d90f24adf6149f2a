// Stands in for the system-information tool in the about window's tests: started without
// arguments, it writes the file "started" into its own folder, so that the test sees it ran.
#include <filesystem>
#include <fstream>

int main(int, char **argv) {
    std::ofstream(std::filesystem::path(argv[0]).parent_path() / "started") << "started\n";
    return 0;
}
