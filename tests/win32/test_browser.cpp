// A stand-in web browser for the tests: appends the address it is asked to open, a line
// each, to the file named by PLUVETTE_BROWSER_LOG, and ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* log = std::getenv("PLUVETTE_BROWSER_LOG");
    if (log == nullptr || __argc < 2) {
        return 2;
    }
    std::FILE* file = std::fopen(log, "a");
    if (file == nullptr) {
        return 1;
    }
    std::fprintf(file, "%s\n", __argv[1]);
    std::fclose(file);
    return 0;
}
