// Runs a test helper program in a working directory of its own and looks at the error box it
// shows, the way a user would see it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32/handles.h"

struct ErrorBox {
    bool found = false;
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;
    bool hasIcon = false; // icon handles cannot be compared across processes
};

class ProbeProcess {
  public:
    // Starts the helper next to this test program with the arguments, in workingDirectory,
    // with its standard output going to outputFile.
    ProbeProcess(const std::string& helper, const std::string& arguments,
                 const std::string& workingDirectory, const std::string& outputFile);
    ~ProbeProcess(); // ends the process if it still runs
    ProbeProcess(const ProbeProcess&) = delete;
    ProbeProcess& operator=(const ProbeProcess&) = delete;

    bool started() const { return process_.valid(); }
    // Waits up to the timeout for a message box of the process, reads it and presses OK.
    ErrorBox dismissErrorBox(DWORD timeoutMs);
    // The exit code, or STILL_ACTIVE when the process did not end within the timeout.
    DWORD waitForExit(DWORD timeoutMs);

  private:
    win32::Handle process_;
    DWORD processId_ = 0;
};

// A fresh empty directory under the temporary folder, removed with everything in it.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// The path of a file in the folder of this test program.
std::string besideThisProgram(const std::string& name);
