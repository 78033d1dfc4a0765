// A helper program for the Win32 tests: runs one of the program's settings or error
// operations in its working directory, so that the test can watch its error box and exit
// code from outside. It speaks the program's language, chosen as the program chooses it.
//   settings_probe fatal CODE      shows error CODE
//   settings_probe write-defaults  writes the default config.txt
//   settings_probe load            loads config.txt and prints what its background, music and
//                                  placement are (the placement as the launcher writes it)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/failures.h"
#include "app/fatal_error.h"
#include "settings/program_settings.h"

int main(int argc, char** argv) {
    const ProgramTexts texts(
        GetModuleHandleW(nullptr),
        chooseLanguage(languageSetting(settingsFileName), preferredUiLanguages()));
    if (argc == 3 && std::strcmp(argv[1], "fatal") == 0) {
        const int code = std::atoi(argv[2]);
        for (const ErrorMessage& message : errorMessages::all) {
            if (message.code == code) {
                fatalError(texts, message);
            }
        }
        return 2;
    }
    if (argc == 2 && std::strcmp(argv[1], "write-defaults") == 0) {
        endOnFailure(texts, writeDefaultSettings(settingsFileName));
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "load") == 0) {
        const std::optional<Settings> settings = loadSettings(settingsFileName);
        endOnFailure(texts, settings ? ShowEnd::closed : ShowEnd::settingsUnreadable);
        const char* kinds[] = {"screen", "file:", "folder:"};
        std::printf("%s%s\n%s\n%s\n", kinds[int(settings->backgroundKind)],
                    settings->background.c_str(), settings->music.c_str(),
                    placementSpellings[int(settings->placement)]);
        return 0;
    }
    return 2;
}
