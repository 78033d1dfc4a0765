// A helper program for the Win32 tests: runs one of the program's settings or error
// operations in its working directory, so that the test can watch its error box and exit
// code from outside.
//   settings_probe fatal CODE      shows error CODE
//   settings_probe write-defaults  writes the default config.txt
//   settings_probe load            loads config.txt and prints bg, sound and fitscreen
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/failures.h"
#include "app/fatal_error.h"
#include "settings/program_settings.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "fatal") == 0) {
        const int code = std::atoi(argv[2]);
        for (const ErrorMessage& message : errorMessages::all) {
            if (message.code == code) {
                fatalError(message);
            }
        }
        return 2;
    }
    if (argc == 2 && std::strcmp(argv[1], "write-defaults") == 0) {
        endOnFailure(writeDefaultSettings(settingsFileName));
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "load") == 0) {
        const std::optional<Settings> settings = loadSettings(settingsFileName);
        endOnFailure(settings ? ShowEnd::closed : ShowEnd::settingsUnreadable);
        std::printf("%s\n%s\n%s\n", settings->bg.c_str(), settings->sound.c_str(),
                    settings->fitscreen.c_str());
        return 0;
    }
    return 2;
}
