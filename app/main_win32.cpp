// Program entry of the Windows editor: start-up, the message loop, shutdown.
#include <windows.h>

#include "app/backups.h"
#include "app/config.h"
#include "app/frame_win32.h"
#include "app/map_events_app.h"
#include "app/title.h"
#include "base/report.h"
#include "model/map_history.h"
#include "platform/files.h"
#include "resources/catalogue.h"
#include "resources/images.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    LoadConfig();
    InstallEditorMapEvents();
    if (FileExists("debug.txt")) RemoveFile("debug.txt");
    if (!LoadIwadFile("doom2.wad")) FatalError("doom2.wad ファイルの読み込みに失敗しました");
    BuildPalettes();

    HWND window = CreateFrameWindow(instance);
    if (!window) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    UpdateTitle();
    ResetMapHistory();
    OfferBackupRecovery();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    EndBackups();
    SaveConfig();
    return static_cast<int>(message.wParam);
}
