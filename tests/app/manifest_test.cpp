// The application manifest in the built porongo.exe, read back the way Windows reads it: the
// resource (type 24, id 1) and the activation context that the loader makes from it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace {

const char kProgram[] = PORONGO_EXE;

std::string ManifestText() {
  HMODULE module = LoadLibraryExA(kProgram, NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == NULL) return {};
  std::string text;
  HRSRC found = FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
  HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
  if (loaded) text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
  FreeLibrary(module);
  return text;
}

// An activation context made from the program's manifest, as CreateProcess makes one.
class ProgramContext {
 public:
  ProgramContext() {
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = kProgram;
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    context_ = CreateActCtxA(&request);
  }
  ~ProgramContext() {
    if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
  }
  ProgramContext(const ProgramContext&) = delete;
  ProgramContext& operator=(const ProgramContext&) = delete;

  HANDLE handle() const { return context_; }

  // A windowsSettings value, or "(none)" when the manifest does not set it.
  std::wstring Setting(const wchar_t* space, const wchar_t* name) const {
    wchar_t value[64] = {};
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context_, space, name, value, ARRAYSIZE(value), &written))
      return GetLastError() == ERROR_SXS_KEY_NOT_FOUND ? L"(none)" : L"(error)";
    return value;
  }

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
};

TEST(Manifest, IsEmbeddedAsUtf8Xml) {
  const std::string text = ManifestText();
  ASSERT_FALSE(text.empty()) << kProgram << " has no resource 24/1";
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"", 0), 0u) << text.substr(0, 60);
}

// A compatibility entry for Windows 8 or later (Windows 10 and 11 share one) would take the
// 8- and 16-bit display modes away from the program, and full screen is 640x480 at 16 bits.
TEST(Manifest, DeclaresNoWindowsAfter7) {
  std::string text = ManifestText();
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  ASSERT_NE(text.find("supportedos"), std::string::npos);
  for (const char* guid : {"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",   // Windows 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",   // Windows 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})  // Windows 10 and 11
    EXPECT_EQ(text.find(guid), std::string::npos) << guid;
}

TEST(Manifest, WhatTheLoaderReadsFromIt) {
  ProgramContext context;
  ASSERT_NE(context.handle(), INVALID_HANDLE_VALUE) << "the manifest does not parse: error " << GetLastError();

  const wchar_t k2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
  const wchar_t k2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
  const wchar_t k2019[] = L"http://schemas.microsoft.com/SMI/2019/WindowsSettings";
  EXPECT_EQ(context.Setting(k2019, L"activeCodePage"), L"ja-JP");
  // Windows scales the window of a program that is not DPI-aware.
  EXPECT_EQ(context.Setting(k2005, L"dpiAware"), L"(none)");
  EXPECT_EQ(context.Setting(k2016, L"dpiAwareness"), L"(none)");

  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
  ASSERT_TRUE(
      QueryActCtxW(0, context.handle(), NULL, RunlevelInformationInActivationContext, &level, sizeof level, NULL));
  EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_EQ(level.UiAccess, 0u);
}

}  // namespace
