// A stand-in for the game in the end-to-end tests: writes its command line,
// its arguments one per line and its working directory to launch.txt in
// the folder it runs in (UTF-8), then ends.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {
std::string Utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t directory[MAX_PATH * 2];
    GetCurrentDirectoryW(MAX_PATH * 2, directory);
    std::string text = "directory " + Utf8(directory) + "\ncommandline " + Utf8(GetCommandLineW()) + "\n";
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; i < count; ++i) text += "arg " + Utf8(arguments[i]) + "\n";
    FILE* file = _wfopen(L"launch.txt", L"wb");
    if (!file) return 1;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return 0;
}
