#pragma once

class RxWindow;

// Sets up the bookkeeping all windows share: no window counted, the default window size taken
// from the hidden main widget, which relays the edit state (made when isMain is non-zero).
void initWindows(int isMain);

// How opening the first window ended.
enum class RxStartResult {
    Shown, // the window is shown
    Cancelled, // the user cancelled the column choice; no window
    Failed // the message is on standard output; no window
};

// Opens the first window for the first command-line argument arg: null gives an empty
// window, "test.int" (exactly) the demonstration curve, anything else names a file, tried
// as given and then with ".rx" appended. window, when given, receives the window shown.
RxStartResult openFirstWindow(const char *arg, RxWindow **window = nullptr);

// openFirstWindow, ending the process unless a window is shown: status 0 after a cancelled
// column choice, -1 after a failure.
void startup(const char *arg);
