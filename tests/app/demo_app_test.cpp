// The demo application on a real window and context: its fixed render state, the title, Exit and Escape,
// and the sequencer that runs the menu, then the crawl, then closes.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/demo_app.h"
#include "scenes/crawl_scene.h"
#include "scenes/menu_scene.h"
#include "framework/fixed_clock.h"
#include "support/test_demo.h"

namespace {

TEST(DemoApp, InitSetsTheFixedRenderStateEvenWithoutMusic)
{
    TestDemo demo;         // the test folder has no "audio.ogg": the music start fails
    demo.drawing = false;  // no scene frame yet: the scenes set their own clear colour and colours
    ASSERT_TRUE(demo.Open());
    demo.WithContext([](TestDemo&) {
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
        EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
        EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));

        GLfloat clear[4] = {};
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
        EXPECT_EQ(clear[0], 0.0f);
        EXPECT_EQ(clear[1], 0.0f);
        EXPECT_EQ(clear[2], 0.0f);
        EXPECT_EQ(clear[3], 1.0f);

        GLfloat light[4] = {};
        glGetLightfv(GL_LIGHT0, GL_POSITION, light);
        EXPECT_FLOAT_EQ(light[0], -4.0f);
        EXPECT_FLOAT_EQ(light[1], 4.0f);
        EXPECT_FLOAT_EQ(light[2], 4.0f);
        EXPECT_FLOAT_EQ(light[3], 0.0f);

        GLfloat specular[4] = {};
        glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
        EXPECT_EQ(specular[0], 1.0f);
        EXPECT_EQ(specular[3], 1.0f);
        GLfloat shininess = 0.0f;
        glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
        EXPECT_EQ(shininess, 128.0f);

        GLfloat color[4] = {};
        glGetFloatv(GL_CURRENT_COLOR, color);
        EXPECT_EQ(color[0], 1.0f);
        EXPECT_EQ(color[1], 1.0f);
        EXPECT_EQ(color[2], 1.0f);
    });
    EXPECT_FALSE(demo.menuDone);
    EXPECT_FALSE(demo.crawlDone);
}

TEST(DemoApp, TitleShowsTheRateWithOneDecimal)
{
    TestDemo demo;
    ASSERT_TRUE(demo.Open());
    char title[64] = {};
    GetWindowTextA(demo.hWnd, title, sizeof(title));
    EXPECT_STREQ(title, "0.0 FPS");

    demo.OnFrameRate(FramesPerSecond(60));
    GetWindowTextA(demo.hWnd, title, sizeof(title));
    EXPECT_STREQ(title, "60.0 FPS");
    demo.OnFrameRate(1234.56f);
    GetWindowTextA(demo.hWnd, title, sizeof(title));
    EXPECT_STREQ(title, "1234.6 FPS");
}

TEST(DemoApp, ExitCommandClosesOtherCommandsDoNot)
{
    TestDemo demo;
    ASSERT_TRUE(demo.Open());
    HWND window = demo.hWnd;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(104, 0), 0);
    EXPECT_TRUE(IsWindow(window));
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(105, 0), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(demo.hWnd, nullptr);
}

TEST(DemoApp, EscapeClosesAtTheEndOfTheFrameAfterItWasDrawn)
{
    FixedClock clock;
    TestDemo demo;
    ASSERT_TRUE(demo.Open());
    HWND window = demo.hWnd;
    demo.DrawFrame();
    EXPECT_TRUE(IsWindow(window));
    demo.PressKey(VK_ESCAPE);
    demo.DrawFrame();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(demo.hWnd, nullptr);
    EXPECT_EQ(demo.menu, nullptr);  // Shutdown ran inside the close
}

// The real loop; Escape pressed and released between the first two frames, before the second one looks.
class EscapeTapDemo : public TestDemo {
public:
    void Render() override
    {
        HWND window = hWnd;
        ++renders;
        TestDemo::Render();
        if (renders == 1) {
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        } else if (hWnd != nullptr) {
            SendMessageA(hWnd, WM_CLOSE, 0, 0);  // the tap was lost; end the loop anyway
            lost = true;
        }
    }
    int renders = 0;
    bool lost = false;
};

TEST(DemoApp, EscapeTappedBetweenFramesClosesOnTheNextFrame)
{
    FixedClock clock;
    EscapeTapDemo demo;
    EXPECT_EQ(demo.Run(GetModuleHandleA(nullptr), SW_SHOW, ""), 0);
    EXPECT_EQ(demo.renders, 2);
    EXPECT_FALSE(demo.lost);
}

TEST(DemoApp, SequencerRunsMenuThenCrawlThenClosesOneFrameLater)
{
    FixedClock clock;
    TestDemo demo;
    ASSERT_TRUE(demo.Open());
    HWND window = demo.hWnd;

    demo.DrawFrame();
    ASSERT_NE(demo.menu, nullptr);
    EXPECT_EQ(demo.fovY, 45.0f);
    EXPECT_EQ(demo.crawl, nullptr);

    clock.SetSeconds(17.5);
    demo.DrawFrame();
    EXPECT_TRUE(demo.menuDone);
    EXPECT_EQ(demo.crawl, nullptr);  // the crawl starts on the next frame

    demo.DrawFrame();
    ASSERT_NE(demo.crawl, nullptr);
    EXPECT_EQ(demo.fovY, 60.0f);
    EXPECT_FALSE(demo.crawlDone);

    clock.SetSeconds(17.5 + 80.0);
    demo.DrawFrame();
    EXPECT_TRUE(demo.crawlDone);
    EXPECT_TRUE(IsWindow(window));

    demo.DrawFrame();
    EXPECT_FALSE(IsWindow(window));
}

TEST(DemoApp, FirstFrameOfEachPhaseIsDrawn)
{
    FixedClock clock;
    TestDemo demo;
    ASSERT_TRUE(demo.Open());
    demo.DrawFrame();
    ASSERT_EQ(demo.frame.width, TestDemo::WIDTH) << "the context was lost after the projection change";
    EXPECT_GT(demo.frame.Count(PixelClass::Highlight, 0, 0, 400, 600), 100);

    clock.SetSeconds(17.5);
    demo.DrawFrame();
    demo.DrawFrame();  // the crawl's first frame: its clock starts here, the stars are already out
    ASSERT_NE(demo.crawl, nullptr);
    ASSERT_EQ(demo.frame.width, TestDemo::WIDTH);
    EXPECT_GT(demo.frame.Count(PixelClass::White, 0, 0, 800, 600), 20);
}

}  // namespace
