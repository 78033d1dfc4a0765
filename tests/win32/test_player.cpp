// A stand-in music player for the tests: writes how it was asked to show itself and its
// process identifier next to the file it was opened with, then waits for messages, as a
// real player does (the shell waits until a program it starts is ready for input). Started
// with no file, or with only a switch (as a screen saver is), it leaves a file named after
// itself with ".ran" added and ends: a copy of it stands for a program that must never run.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    if (__argc < 2 || __argv[1][0] == '/') {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::FILE* marker = std::fopen((std::string(self) + ".ran").c_str(), "w");
        if (marker != nullptr) {
            std::fclose(marker);
        }
        return 2;
    }
    // The file's name as given, in any language.
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring report = std::wstring(count > 1 ? arguments[1] : L"") + L".player";
    LocalFree(arguments);
    std::FILE* file = _wfopen(report.c_str(), L"w");
    if (file != nullptr) {
        std::fprintf(file, "%d %lu\n", showCommand, GetCurrentProcessId());
        std::fclose(file);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
