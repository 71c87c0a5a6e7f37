// Deadline: a watcher thread that waits for the wait to end, or reports and ends the process.
#include "support/deadline.h"

#include <gtest/gtest.h>
#include <stdio.h>

Deadline::Deadline(int limitSeconds, const char* waitedFor)
    : met(CreateEventA(nullptr, TRUE, FALSE, nullptr)), watcher(nullptr), seconds(limitSeconds), what(waitedFor)
{
    watcher = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

Deadline::~Deadline()
{
    SetEvent(met);
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    CloseHandle(met);
}

DWORD WINAPI Deadline::Watch(void* self)
{
    const Deadline& deadline = *static_cast<Deadline*>(self);
    if (WaitForSingleObject(deadline.met, static_cast<DWORD>(deadline.seconds) * 1000) == WAIT_OBJECT_0) {
        return 0;
    }
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    fprintf(stderr, "FAIL %s.%s: waited %d s for %s\n", test != nullptr ? test->test_suite_name() : "?",
            test != nullptr ? test->name() : "?", deadline.seconds, deadline.what);
    fflush(stderr);
    ExitProcess(1);
}
