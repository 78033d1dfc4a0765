#include <windows.h>

#include <gtest/gtest.h>

#include "app/messages.h"
#include "probe_process.h"
#include "win32/handles.h"

namespace {

constexpr DWORD boxTimeoutMs = 10000;
const char* const probe = "settings_probe.exe";

struct Outcome {
    ErrorBox box;
    DWORD exitCode;
    std::string output;
};

Outcome runProbe(const ScratchDirectory& dir, const std::string& arguments, bool expectBox) {
    const std::string outputFile = dir.file("probe-output.txt");
    Outcome outcome;
    {
        ProbeProcess process(probe, arguments, dir.path(), outputFile);
        EXPECT_TRUE(process.started());
        if (expectBox) {
            outcome.box = process.dismissErrorBox(boxTimeoutMs);
        }
        outcome.exitCode = process.waitForExit(boxTimeoutMs);
    }
    // Standard output is in text mode: fold its CR LF line ends back to LF.
    for (char c : readBytes(outputFile)) {
        if (c != '\r') {
            outcome.output += c;
        }
    }
    DeleteFileA(outputFile.c_str());
    return outcome;
}

// The message's explanation in English.
std::string explanationOf(const ErrorMessage& message) {
    switch (message.code) {
    case 104:
        return "Failed to load image.\nPlease insure that image is not corrupt and is saved with "
               "right extention on your computer.";
    case 105:
        return "Failed to launch music file.";
    case 106:
        return "The water's window could not be opened: Windows may be short of resources.\n"
               "Close a few programs and try again.";
    case 114:
        return "Failed to create file.";
    case 115:
        return "Failed to save changes.";
    default:
        return "Failed to load configuration file.";
    }
}

void expectErrorBox(const Outcome& outcome, const ErrorMessage& message,
                    const std::string& caption = "Error", std::string text = {}) {
    if (text.empty()) {
        text = "Error Code : " + std::to_string(message.code) + "\n" + explanationOf(message) +
               "\n\nFor support contact us at support@pluvette.org\nOr Visit www.pluvette.org";
    }
    ASSERT_TRUE(outcome.box.found) << "no error box for code " << message.code;
    EXPECT_EQ(outcome.box.caption, caption);
    // The box shows the message and the support lines; Wine's static control may turn each
    // LF into CR LF, so compare with those folded back.
    std::string shown = outcome.box.text;
    for (size_t at; (at = shown.find("\r\n")) != std::string::npos;) {
        shown.erase(at, 1);
    }
    EXPECT_EQ(shown, text);
    EXPECT_EQ(outcome.box.buttons, std::vector<std::string>{"OK"});
    EXPECT_TRUE(outcome.box.hasIcon);
    EXPECT_EQ(outcome.exitCode, DWORD(message.code));
}

TEST(FatalError, ShowsAWarningBoxThenEndsWithTheErrorsNumber) {
    ScratchDirectory dir;
    for (const ErrorMessage& message : errorMessages::all) {
        SCOPED_TRACE(message.code);
        expectErrorBox(runProbe(dir, "fatal " + std::to_string(message.code), true), message);
    }
}

TEST(FatalError, SpeaksTheLanguageTheSettingsChoose) {
    ScratchDirectory dir;
    writeBytes(dir.file("config.txt"), "bg=null\r\nlanguage=de\r\n");
    expectErrorBox(runProbe(dir, "fatal 115", true), errorMessages::settingsUnsaved, "Fehler",
                   "Fehlercode: 115\nDie \xc3\x84nderungen konnten nicht gespeichert werden.\n\n"
                   "Hilfe erhalten Sie unter support@pluvette.org\noder auf www.pluvette.org");
}

TEST(DefaultSettings, FirstRunWritesExactlyTheThreeDefaults) {
    ScratchDirectory dir;
    const Outcome outcome = runProbe(dir, "write-defaults", false);
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_EQ(readBytes(dir.file("config.txt")), "bg=null\r\nsound=null\r\nfitscreen=yes\r\n");
}

TEST(DefaultSettings, ReplacesWhateverTheFileHeld) {
    ScratchDirectory dir;
    writeBytes(dir.file("config.txt"), "bg=C:\\x.png\r\nextra=1\r\n");
    EXPECT_EQ(runProbe(dir, "write-defaults", false).exitCode, 0u);
    EXPECT_EQ(readBytes(dir.file("config.txt")), "bg=null\r\nsound=null\r\nfitscreen=yes\r\n");
}

TEST(DefaultSettings, AFileThatCannotBeCreatedEndsWith114) {
    ScratchDirectory dir;
    CreateDirectoryA(dir.file("config.txt").c_str(), nullptr);
    expectErrorBox(runProbe(dir, "write-defaults", true), errorMessages::settingsFileUncreatable);
}

TEST(DefaultSettings, DefaultsThatCannotBeWrittenEndWith115) {
    ScratchDirectory dir;
    writeBytes(dir.file("config.txt"), "junk\r\n");
    {
        // Another program has the file open and lets others read it, not write it.
        const win32::Handle held(CreateFileA(dir.file("config.txt").c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.valid());
        expectErrorBox(runProbe(dir, "write-defaults", true), errorMessages::settingsUnsaved);
    }
    EXPECT_EQ(readBytes(dir.file("config.txt")), "junk\r\n");
}

// Windows refuses to write a file marked read-only; Wine run as root would write it, and
// the program must not.
TEST(DefaultSettings, AReadOnlyFileIsNeverReplaced) {
    ScratchDirectory dir;
    const std::string path = dir.file("config.txt");
    writeBytes(path, "junk\r\n");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    expectErrorBox(runProbe(dir, "write-defaults", true), errorMessages::settingsUnsaved);
    EXPECT_EQ(readBytes(path), "junk\r\n");
    EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(LoadSettings, ReadsTheThreeSettingsAsWhatTheyMean) {
    ScratchDirectory dir;
    writeBytes(dir.file("config.txt"),
               "SOUND=C:\\music\\rain=1.mp3\r\nbg=NULL\nfitscreen=Yes please\r\n");
    const Outcome outcome = runProbe(dir, "load", false);
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_EQ(outcome.output, "screen\nC:\\music\\rain=1.mp3\nyes\n");
}

// Paths as people paste them: a relative one is read against the settings file's folder,
// %VARIABLE% parts are expanded; "null" and sounds too short to name music are nothing, and a
// folder is told from a file.
TEST(LoadSettings, ReadsRelativePathsAgainstTheFilesFolderAndExpandsVariables) {
    ScratchDirectory dir;
    SetEnvironmentVariableA("PLUVETTE_TEST_MUSIC", "D:\\songs");
    writeBytes(dir.file("config.txt"),
               "bg=pictures\\a.png\r\nsound=%PLUVETTE_TEST_MUSIC%\\rain.mp3\r\nfitscreen=yes\r\n");
    EXPECT_EQ(runProbe(dir, "load", false).output,
              "file:" + dir.file("pictures\\a.png") + "\nD:\\songs\\rain.mp3\nyes\n");
    writeBytes(dir.file("config.txt"), "bg=null\r\nsound=a.mp\r\nfitscreen=yes\r\n");
    EXPECT_EQ(runProbe(dir, "load", false).output, "screen\n\nyes\n");
    CreateDirectoryA(dir.file("pictures").c_str(), nullptr);
    // A drive alone is that drive's current folder, the probe's own.
    writeBytes(dir.file("config.txt"), "bg=" + dir.path().substr(0, 2) + "\r\n");
    EXPECT_EQ(runProbe(dir, "load", false).output, "folder:" + dir.path() + "\\\n\nno\n");
    writeBytes(dir.file("config.txt"), "bg=pictures\r\nfitscreen=FILL\r\n");
    EXPECT_EQ(runProbe(dir, "load", false).output, "folder:" + dir.file("pictures") + "\n\nfill\n");
    RemoveDirectoryA(dir.file("pictures").c_str());
}

TEST(LoadSettings, AMissingKeyReadsAsNothingAndCentres) {
    ScratchDirectory dir;
    writeBytes(dir.file("config.txt"), "bg=null\r\n");
    EXPECT_EQ(runProbe(dir, "load", false).output, "screen\n\nno\n");
}

// A file another program holds so that it cannot be read: after a second of trying, the show
// starts with the defaults, and the file is left as it was.
TEST(LoadSettings, AFileHeldByAnotherProgramGivesTheDefaultsAndStaysAsItWas) {
    ScratchDirectory dir;
    const std::string path = dir.file("config.txt");
    const std::string bytes = "bg=C:\\p.png\r\nfitscreen=fill\r\nrain=heavy\r\n";
    writeBytes(path, bytes);
    {
        const win32::Handle held(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held.valid());
        const Outcome outcome = runProbe(dir, "load", false);
        EXPECT_EQ(outcome.exitCode, 0u);
        EXPECT_EQ(outcome.output, "screen\n\nyes\n");
    }
    EXPECT_EQ(readBytes(path), bytes);
}

TEST(LoadSettings, AnUnreadableFileEndsWith101) {
    ScratchDirectory dir;
    expectErrorBox(runProbe(dir, "load", true), errorMessages::showSettingsUnreadable);
    CreateDirectoryA(dir.file("config.txt").c_str(), nullptr);
    expectErrorBox(runProbe(dir, "load", true), errorMessages::showSettingsUnreadable);
}

} // namespace
