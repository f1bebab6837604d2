// Keeps the desktop of the Wine prefix it runs in open until it is killed.
//
// Wine closes a prefix's desktop, and the explorer process behind it, when the
// last program using it ends; the next program to open a window starts them
// again, and now and then waits a minute for them. With this program holding a
// window the whole time, the tests' programs find the desktop ready.

#include <windows.h>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
