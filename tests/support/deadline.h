// Deadline: a limit on one wait in a test. A wait that outlives it (a window that never closes, a thread that
// never stops) ends the test program at once with what it waited for, instead of at CTest's time-out.
#pragma once

#include <windows.h>

class Deadline {
public:
    Deadline(int seconds, const char* what);
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    static DWORD WINAPI Watch(void* self);

    HANDLE met;
    HANDLE watcher;
    int seconds;
    const char* what;
};
