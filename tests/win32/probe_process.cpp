#include "probe_process.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "win32/wide.h"

namespace {

// In UTF-8, whatever the language.
std::string windowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, int(std::size(text)));
    return win32::narrow(text);
}

std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

struct BoxSearch {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK findBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && classOf(window) == "#32770" && IsWindowVisible(window)) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK readControl(HWND control, LPARAM context) {
    auto* box = reinterpret_cast<ErrorBox*>(context);
    const std::string kind = classOf(control);
    if (kind == "Button") {
        box->buttons.push_back(windowText(control));
    } else if (kind == "Static") {
        const auto style = GetWindowLongA(control, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) {
            const auto icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
            box->hasIcon = icon != nullptr;
        } else if (!windowText(control).empty()) {
            box->text = windowText(control);
        }
    }
    return TRUE;
}

} // namespace

std::string besideThisProgram(const std::string& name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path, length);
    return self.substr(0, self.find_last_of("\\/") + 1) + name;
}

ProbeProcess::ProbeProcess(const std::string& helper, const std::string& arguments,
                           const std::string& workingDirectory, const std::string& outputFile) {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    const win32::Handle output(CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                           &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                           nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    std::string commandLine = "\"";
    commandLine.append(besideThisProgram(helper)).append("\" ").append(arguments);
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       workingDirectory.c_str(), &startup, &started)) {
        process_ = win32::Handle(started.hProcess);
        processId_ = started.dwProcessId;
        const win32::Handle thread(started.hThread);
    }
}

ProbeProcess::~ProbeProcess() {
    if (started() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
    }
}

ErrorBox ProbeProcess::dismissErrorBox(DWORD timeoutMs) {
    ErrorBox result;
    BoxSearch search{processId_, nullptr};
    const DWORD start = GetTickCount();
    while (search.box == nullptr && GetTickCount() - start < timeoutMs) {
        EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
        if (search.box == nullptr) {
            Sleep(20);
        }
    }
    if (search.box == nullptr) {
        return result;
    }
    result.found = true;
    result.caption = windowText(search.box);
    EnumChildWindows(search.box, readControl, reinterpret_cast<LPARAM>(&result));
    PostMessageA(search.box, WM_COMMAND, IDOK, 0);
    return result;
}

DWORD ProbeProcess::waitForExit(DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_.get(), &code);
    }
    return code;
}

ScratchDirectory::ScratchDirectory() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    GetTempFileNameA(temp, "plv", 0, name);
    DeleteFileA(name);
    CreateDirectoryA(name, nullptr);
    path_ = name;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
