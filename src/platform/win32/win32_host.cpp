#include "platform/win32/win32_host.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <cwctype>

#include "panorama/container_format.h"
#include "platform/host_file.h"
#include "platform/path_mapping.h"
#include "platform/text_encoding.h"

#include "shell/application.h"
#include "shell/main_window.h"

namespace platform {

namespace {

bool hasAppendedContainer(const std::string& path) {
  std::FILE* file = openHostFile(path, "rb");
  if (file == nullptr) return false;
  char magic[sizeof kTrailerMagic] = {};
  const bool read = std::fseek(file, -static_cast<long>(sizeof magic), SEEK_END) == 0 &&
                    std::fread(magic, 1, sizeof magic, file) == sizeof magic;
  std::fclose(file);
  return read && std::memcmp(magic, kTrailerMagic, sizeof magic) == 0;
}

// Windows paths ignore case: one key for every spelling of the same file.
std::string instanceKeyFor(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(hostFilePath(path), error);
  std::wstring key = (error ? hostFilePath(path) : absolute).lexically_normal().wstring();
  for (wchar_t& c : key) c = static_cast<wchar_t>(towlower(c));
  return utf8FilePath(std::filesystem::path(key));
}

// Started on its own (from Explorer), a console program gets a console window
// that only stands behind the viewer: give it back. Started from a console,
// the viewer shares it and keeps writing its messages there.
bool releaseOwnConsole() {
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2) == 1 && FreeConsole();
}

}  // namespace

void nameWindowAfterPanorama(Win32Options& options) {
  const std::string module = runningExecutablePath();
  if (hasAppendedContainer(module)) {
    options.windowTitle = utf8FilePath(hostFilePath(module).filename());
    options.instanceKey = instanceKeyFor(module);
  } else if (!options.standaloneFile.empty()) {
    options.windowTitle = "qbzview - " + utf8FilePath(hostFilePath(options.standaloneFile).filename());
    options.instanceKey = instanceKeyFor(options.standaloneFile);
  }
}

Win32Result runWin32Window(const Win32Options& options) {
  Win32Result result;
  const bool noConsole = releaseOwnConsole();
  Win32Backend desktop(options);
  resetWindowManager();
  installBackend(&desktop);
  resetApplication();

  result.exitCode = viewerEntry(GetModuleHandleW(nullptr), nullptr, u"", SW_SHOWNORMAL);

  if (!desktop.windowError().empty()) {
    result.exitCode = 1;
    result.error = "cannot open the window: " + desktop.windowError();
  } else if (result.exitCode == 1) {
    result.error = "no panorama found: looked in " + desktop.moduleFilePath() + " and " +
                   desktop.standaloneHostPath() + " (standing for \\Temp\\Test.QBZ)";
  }

  resetApplication();
  installBackend(nullptr);
  resetWindowManager();
  if (noConsole && !result.error.empty()) {
    // Nobody would read the message on a console: say it in a box.
    const std::u16string text = toUtf16("qbzview: " + result.error);
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"qbzview", MB_OK | MB_ICONERROR);
  }
  return result;
}

}  // namespace platform
