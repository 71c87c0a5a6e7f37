// The demo application on a real window and context: the fullscreen question before displays that refuse
// modes, what the fullscreen show does when it loses the screen, a start that fails after Yes, and the sequencer
// that runs the menu, then the crawl, then closes. (The title's rate, Exit, Escape and the render state that a
// failed music start must still set are tried end to end.)
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/demo_app.h"
#include "scenes/crawl_scene.h"
#include "scenes/scene_clock.h"
#include "support/deadline.h"
#include "support/test_demo.h"

namespace {

// The message boxes this thread has shown, as "caption: text [buttons]", each answered as it opened: the
// question with `answer`, anything else with OK.
std::vector<std::string> boxesSeen;
int answer = IDYES;
// Where set, the stand-in display's last request as each box opened ("" before any).
const std::vector<std::string>* watchedRequests = nullptr;
std::vector<std::string> requestAtBox;

LRESULT CALLBACK AnswerBox(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND box = reinterpret_cast<HWND>(wParam);
    char kind[16] = {}, caption[64] = {}, text[256] = {};
    if (code == HCBT_ACTIVATE && GetClassNameA(box, kind, sizeof(kind)) && strcmp(kind, "#32770") == 0) {
        GetWindowTextA(box, caption, sizeof(caption));
        GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));  // a message box's text control
        const bool question = GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr;
        boxesSeen.push_back(std::string(caption) + ": " + text + (question ? " [Yes No]" : " [OK]"));
        if (watchedRequests != nullptr) {
            requestAtBox.push_back(watchedRequests->empty() ? "" : watchedRequests->back());
        }
        PostMessageA(box, WM_COMMAND, question ? answer : IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool PointerShown()
{
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) != 0;
}

// No opens the overlapped window with its menu. Yes asks for 800 x 600 at 16 bits; a display that grants only
// 32 bits and more, as 64-bit Windows 8 and later do for many programs, gets the desktop's depth next: the
// topmost popup over the screen, no warning, no pointer. One that refuses that too warns, then opens an
// overlapped window. Only the popup steps aside (the desktop's mode back, minimised, the pointer shown) when
// another program takes the screen, takes it again when brought back, gives the mode back at the end, and
// keeps its pixels when moved to a display of another scale; a framed window takes the suggested rectangle.
TEST(DemoApp, TheQuestionAnsweredNoOrYesBeforeDisplaysThatGrantDeepModesOrNone)
{
    const std::string question = "Kelvra: Run in fullscreen window? [Yes No]";
    const std::string warning =
        "qf2k4_demo: The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
        "Use Windowed Mode Instead? [OK]";
    const std::vector<std::string> requests = {"800x600x16", "800x600x32"};  // the test screen is 32 bits deep
    const struct {
        int answer;
        DWORD leastDepth;
        bool popup, warns;
    } cases[] = {{IDNO, 0, false, false}, {IDYES, 32, true, false}, {IDYES, MAXDWORD, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.answer == IDNO ? "No" : "Yes") << ", depths from " << c.leastDepth);
        TestDemo demo(true);
        demo.leastDepth = c.leastDepth;
        answer = c.answer;
        boxesSeen.clear();
        const HHOOK hook = SetWindowsHookExA(WH_CBT, AnswerBox, nullptr, GetCurrentThreadId());
        bool opened = false;
        {
            Deadline deadline(20, "the window to open past the question box and any warning");
            opened = demo.Open();
        }
        UnhookWindowsHookEx(hook);
        ASSERT_TRUE(opened);
        std::vector<std::string> expected = c.answer == IDNO ? std::vector<std::string>() : requests;
        EXPECT_EQ(demo.modeRequests, expected);
        const std::vector<std::string> boxes = {question, warning};
        EXPECT_EQ(boxesSeen, std::vector<std::string>(boxes.begin(), boxes.begin() + (c.warns ? 2 : 1)));
        RECT place;
        GetWindowRect(demo.hWnd, &place);
        const LONG style = GetWindowLongA(demo.hWnd, GWL_STYLE), exStyle = GetWindowLongA(demo.hWnd, GWL_EXSTYLE);
        EXPECT_EQ(GetMenu(demo.hWnd) != nullptr, c.answer == IDNO);
        EXPECT_TRUE(place.right - place.left == 800 && place.bottom - place.top == 600);
        EXPECT_EQ(PointerShown(), !c.popup);
        EXPECT_EQ(demo.swapIntervals, std::vector<int>{1});  // the demo waits for the display's refresh
        if (c.popup) {
            EXPECT_TRUE(place.left == 0 && place.top == 0);
            EXPECT_EQ(style & (WS_POPUP | WS_CAPTION), WS_POPUP);
            EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
        } else {
            EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
            EXPECT_EQ(exStyle & WS_EX_TOPMOST, 0);
        }

        SendMessageA(demo.hWnd, WM_ACTIVATEAPP, FALSE, 0);
        if (c.popup) {
            expected.push_back("desktop");
        }
        EXPECT_EQ(demo.modeRequests, expected);
        EXPECT_EQ(IsIconic(demo.hWnd) != FALSE, c.popup);
        EXPECT_TRUE(PointerShown());
        demo.DrawFrame();  // the show plays on, minimised
        SendMessageA(demo.hWnd, WM_ACTIVATEAPP, TRUE, 0);
        if (c.popup) {
            expected.push_back("800x600x32");
        }
        EXPECT_EQ(demo.modeRequests, expected);
        EXPECT_FALSE(IsIconic(demo.hWnd));
        EXPECT_EQ(PointerShown(), !c.popup);
        RECT back;
        GetWindowRect(demo.hWnd, &back);
        EXPECT_TRUE(EqualRect(&back, &place));
        EXPECT_EQ(GetWindowLongA(demo.hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST, exStyle & WS_EX_TOPMOST);

        if (c.popup) {
            // Refused on return: the desktop covered at its own mode (the projection follows the window's size),
            // no pointer; asked for again the next time the show is brought back.
            demo.leastDepth = MAXDWORD;
            SendMessageA(demo.hWnd, WM_ACTIVATEAPP, FALSE, 0);
            SendMessageA(demo.hWnd, WM_ACTIVATEAPP, TRUE, 0);
            GetWindowRect(demo.hWnd, &back);
            EXPECT_TRUE(back.left == 0 && back.top == 0 && back.right == GetSystemMetrics(SM_CXSCREEN) &&
                        back.bottom == GetSystemMetrics(SM_CYSCREEN));
            EXPECT_FALSE(IsIconic(demo.hWnd) || PointerShown());
            demo.leastDepth = 32;
            SendMessageA(demo.hWnd, WM_ACTIVATEAPP, FALSE, 0);
            SendMessageA(demo.hWnd, WM_ACTIVATEAPP, TRUE, 0);
            GetWindowRect(demo.hWnd, &back);
            EXPECT_TRUE(EqualRect(&back, &place));
            expected.insert(expected.end(), {"desktop", "800x600x32", "800x600x32"});
            EXPECT_EQ(demo.modeRequests, expected);
        }

        RECT suggested = {10, 20, 1010, 770};  // 125 %, within the test screen
        SendMessageA(demo.hWnd, WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&suggested));
        RECT scaled;
        GetWindowRect(demo.hWnd, &scaled);
        EXPECT_TRUE(EqualRect(&scaled, c.popup ? &place : &suggested));

        // As after the loop; the close that comes first under Wine also deactivates, and gives the mode back
        // by itself, so OnExit is tried on its own here.
        demo.OnExit();
        if (c.popup) {
            expected.push_back("desktop");
        }
        EXPECT_EQ(demo.modeRequests, expected);
        EXPECT_TRUE(PointerShown());
        SendMessageA(demo.hWnd, WM_CLOSE, 0, 0);
        EXPECT_EQ(demo.modeRequests, expected);
    }
}

// A start that fails at one step after Yes: the class's name taken before, a window that refuses to be made,
// or a window whose device context already has another pixel format (which a window can be given only once).
enum class Failure { ClassTaken, WindowRefused, FormatTaken };

class FailingDemo : public TestDemo {
public:
    explicit FailingDemo(Failure step) : TestDemo(true), failure(step) {}
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCCREATE && failure == Failure::WindowRefused) {
            return FALSE;
        }
        if (message == WM_CREATE && failure == Failure::FormatTaken) {
            const HDC dc = GetDC(window);
            PIXELFORMATDESCRIPTOR wanted = {};
            wanted.nSize = sizeof(wanted);
            SetupPixelFormat(wanted);
            const int chosen = ChoosePixelFormat(dc, &wanted);
            SetPixelFormat(dc, chosen == 1 ? 2 : 1, &wanted);
            ReleaseDC(window, dc);
        }
        return TestDemo::WindowProc(window, message, wParam, lParam);
    }
    const Failure failure;
};

// After Yes, a start that fails gives the desktop its mode and pointer back before a box names the step (and the
// system's reason, where it gives one); nothing is left registered, and the exit code is 1.
TEST(DemoApp, AStartThatFailsAfterYesGivesTheModeBackAndSaysWhy)
{
    const struct {
        Failure failure;
        const char* said;
    } cases[] = {
        {Failure::ClassTaken, "Kelvra: The window could not be made (RegisterClassExA failed).\n"},
        {Failure::WindowRefused, "Kelvra: The window could not be made (CreateWindowExA failed)."},
        {Failure::FormatTaken, "Kelvra: This display could not start OpenGL (SetPixelFormat failed)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        const WNDCLASSEXA taken = {sizeof(WNDCLASSEXA),
                                   0,
                                   DefWindowProcA,
                                   0,
                                   0,
                                   GetModuleHandleA(nullptr),
                                   nullptr,
                                   nullptr,
                                   nullptr,
                                   nullptr,
                                   GLWindowApp::WINDOW_CLASS_NAME,
                                   nullptr};
        ASSERT_TRUE(c.failure != Failure::ClassTaken || RegisterClassExA(&taken));
        FailingDemo demo(c.failure);
        demo.leastDepth = 32;
        answer = IDYES;
        boxesSeen.clear();
        requestAtBox.clear();
        watchedRequests = &demo.modeRequests;
        const HHOOK hook = SetWindowsHookExA(WH_CBT, AnswerBox, nullptr, GetCurrentThreadId());
        {
            Deadline deadline(20, "Run to return past the question and the failure's box");
            EXPECT_EQ(demo.Run(GetModuleHandleA(nullptr), SW_SHOW, ""), EXIT_CODE_NOT_STARTED);
        }
        UnhookWindowsHookEx(hook);
        watchedRequests = nullptr;
        EXPECT_EQ(requestAtBox, (std::vector<std::string>{"", "desktop"}));  // the failure is read on the desktop
        EXPECT_EQ(demo.modeRequests, (std::vector<std::string>{"800x600x16", "800x600x32", "desktop"}));
        EXPECT_TRUE(PointerShown());
        ASSERT_EQ(boxesSeen.size(), 2u);
        EXPECT_EQ(boxesSeen[1].rfind(c.said, 0), 0u) << boxesSeen[1];
        WNDCLASSEXA left = {};
        EXPECT_EQ(GetClassInfoExA(GetModuleHandleA(nullptr), GLWindowApp::WINDOW_CLASS_NAME, &left) != FALSE,
                  c.failure == Failure::ClassTaken);
        UnregisterClassA(GLWindowApp::WINDOW_CLASS_NAME, GetModuleHandleA(nullptr));
    }
}

// Each phase sets its projection and draws its first frame; the crawl starts the frame after the menu ends,
// and the window closes the frame after the crawl ends.
TEST(DemoApp, SequencerRunsMenuThenCrawlThenClosesOneFrameLater)
{
    SceneClock clock;
    TestDemo demo;
    ASSERT_TRUE(demo.Open());
    EXPECT_EQ(demo.swapIntervals, std::vector<int>{0});  // a host that reads the frames draws flat out
    HWND window = demo.hWnd;
    demo.DrawFrame();
    ASSERT_NE(demo.menu, nullptr);
    EXPECT_EQ(demo.fovY, 45.0f);
    ASSERT_EQ(demo.frame.width, TestDemo::WIDTH) << "the context was lost after the projection change";
    EXPECT_GT(demo.frame.Count(PixelClass::Highlight, 0, 0, 400, 600), 100);

    clock.SetSeconds(17.5);
    demo.DrawFrame();
    EXPECT_TRUE(demo.menuDone);
    EXPECT_EQ(demo.crawl, nullptr);
    demo.DrawFrame();  // the crawl's first frame: its clock starts here, the stars are already out
    ASSERT_NE(demo.crawl, nullptr);
    EXPECT_EQ(demo.crawl->startCount, 17500000);  // its own first frame
    EXPECT_EQ(demo.fovY, 60.0f);
    ASSERT_EQ(demo.frame.width, TestDemo::WIDTH);
    EXPECT_GT(demo.frame.Count(PixelClass::White, 0, 0, 800, 600), 20);
    EXPECT_FALSE(demo.crawlDone);

    clock.SetSeconds(17.5 + 80.0);
    demo.DrawFrame();
    EXPECT_TRUE(demo.crawlDone);
    EXPECT_TRUE(IsWindow(window));
    demo.DrawFrame();
    EXPECT_FALSE(IsWindow(window));
}

// Minimised across the menu's end, the show finds the menu over on its first frame back; the crawl then starts
// where the menu ended, in step with the music, rather than where the show was brought back.
TEST(DemoApp, ACrawlAfterAMenuEndNobodySawStartsWhereTheMenuEnded)
{
    SceneClock clock;
    TestDemo demo;
    ASSERT_TRUE(demo.Open());
    demo.DrawFrame();
    clock.SetSeconds(40.0);
    demo.resumed = true;
    demo.DrawFrame();
    demo.DrawFrame();
    ASSERT_NE(demo.crawl, nullptr);
    EXPECT_TRUE(demo.crawl->startCount == 17 * SceneClock::MICROSECONDS && demo.crawl->starStartCount == 17000000);
}

}  // namespace
