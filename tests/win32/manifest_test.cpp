// The program's manifest as Windows reads it: the activation context built from the same
// resources as the program's, asked what a process started from it would get.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class OwnManifest : public testing::Test {
  protected:
    void SetUp() override {
        wchar_t path[MAX_PATH];
        ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path;
        request.lpResourceName = MAKEINTRESOURCEW(1); // the manifest a process starts with
        context = CreateActCtxW(&request);
        ASSERT_NE(context, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (context != INVALID_HANDLE_VALUE) {
            ReleaseActCtx(context);
        }
    }
    std::wstring setting(const wchar_t* space, const wchar_t* name) const {
        wchar_t value[200] = {};
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, context, space, name, value, 200, &written)) {
            return L"(none)";
        }
        return value;
    }
    HANDLE context = INVALID_HANDLE_VALUE;
};

TEST_F(OwnManifest, AsksForPerMonitorV2AwarenessWithTheOlderFormsBehind) {
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              L"PerMonitorV2, PerMonitor");
    EXPECT_EQ(setting(nullptr, L"dpiAware"), L"true/pm");
}

TEST_F(OwnManifest, NamesEveryWindowsFromSevenToElevenAsSupported) {
    SIZE_T needed = 0;
    QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, nullptr, 0,
                 &needed);
    ASSERT_GT(needed, sizeof(DWORD));
    std::vector<char> information(needed);
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext,
                             information.data(), needed, &needed));
    const std::string listed(information.begin(), information.end());
    // Windows 7, 8, 8.1 and 10 (which 11 shares).
    for (const GUID& system :
         {GUID{0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},
          GUID{0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},
          GUID{0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},
          GUID{0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}}}) {
        const std::string id(reinterpret_cast<const char*>(&system), sizeof(system));
        EXPECT_NE(listed.find(id), std::string::npos) << std::hex << system.Data1;
    }
}

} // namespace
