// The demo application on a real window and context: its fixed render state, the title, Exit and Escape,
// and the sequencer that runs the menu, then the crawl, then closes.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/demo_app.h"
#include "scenes/scene_clock.h"
#include "support/test_demo.h"

namespace {

TEST(DemoApp, InitSetsTheFixedRenderStateEvenWithoutMusic)
{
    TestDemo demo;         // the test folder has no "audio.ogg": the music start fails
    demo.drawing = false;  // no scene frame yet: the scenes set their own clear colour and colours
    ASSERT_TRUE(demo.Open());
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL, GL_NORMALIZE}) {
        EXPECT_TRUE(glIsEnabled(cap)) << cap;
    }
    // Clear colour, light position (directional; no modelview yet), specular, shininess, current colour.
    std::vector<GLfloat> state(17);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, &state[0]);
    glGetLightfv(GL_LIGHT0, GL_POSITION, &state[4]);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, &state[8]);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &state[12]);
    glGetFloatv(GL_CURRENT_COLOR, &state[13]);
    wglMakeCurrent(nullptr, nullptr);
    EXPECT_EQ(state, (std::vector<GLfloat>{0, 0, 0, 1, -4, 4, 4, 0, 1, 1, 1, 1, 128, 1, 1, 1, 1}));
}

TEST(DemoApp, TitleShowsTheRateWithOneDecimalAndOnlyExitCloses)
{
    TestDemo demo;
    ASSERT_TRUE(demo.Open());
    HWND window = demo.hWnd;
    char title[3][32] = {};
    GetWindowTextA(window, title[0], 32);
    demo.OnFrameRate(FramesPerSecond(60));
    GetWindowTextA(window, title[1], 32);
    demo.OnFrameRate(1234.56f);
    GetWindowTextA(window, title[2], 32);
    EXPECT_EQ(std::vector<std::string>(title, title + 3),
              (std::vector<std::string>{"0.0 FPS", "60.0 FPS", "1234.6 FPS"}));

    SendMessageA(window, WM_COMMAND, MAKEWPARAM(104, 0), 0);
    EXPECT_TRUE(IsWindow(window));
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(105, 0), 0);  // File > Exit
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(demo.hWnd, nullptr);
}

// Escape held (seen only as auto-repeat) or tapped between two frames closes at the end of the next frame, in
// either phase.
TEST(DemoApp, EscapeHeldOrTappedClosesAfterTheNextFrameInEitherPhase)
{
    for (const bool crawlPhase : {false, true}) {
        SCOPED_TRACE(crawlPhase ? "tapped during the crawl" : "held during the menu");
        SceneClock clock;
        TestDemo demo;
        ASSERT_TRUE(demo.Open());
        HWND window = demo.hWnd;
        demo.DrawFrame();
        if (crawlPhase) {
            clock.SetSeconds(17.5);
            demo.DrawFrame();
            demo.DrawFrame();
            ASSERT_NE(demo.crawl, nullptr);
        }
        ASSERT_TRUE(IsWindow(window));
        demo.WindowProc(window, WM_KEYDOWN, VK_ESCAPE, crawlPhase ? 0x00000001 : 0x40000001);
        if (crawlPhase) {
            demo.WindowProc(window, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        }
        demo.DrawFrame();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(demo.menu, nullptr);  // Shutdown ran inside the close
    }
}

// Each phase sets its projection and draws its first frame; the crawl starts the frame after the menu ends,
// and the window closes the frame after the crawl ends.
TEST(DemoApp, SequencerRunsMenuThenCrawlThenClosesOneFrameLater)
{
    SceneClock clock;
    TestDemo demo;
    ASSERT_TRUE(demo.Open());
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

}  // namespace
