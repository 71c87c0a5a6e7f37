// MenuScene: creates the nine entries, applies the timeline each frame and draws the entries upright.
#include "scenes/menu_scene.h"

#include <GL/gl.h>
#include <new>

#include "scenes/scene_clock.h"
#include "scenes/scene_view.h"
#include "scenes/menu_timeline.h"

const Vec3 NORMAL_COLOR = {0.42f, 0.54f, 0.945f};
const Vec3 HIGHLIGHT_COLOR = {0.78f, 0.64f, 0.59f};
const Vec3 ACTIVE_COLOR = {0.92f, 0.14f, 0.15f};

namespace {

constexpr const char* ON_TEXT = "ON";
constexpr const char* OFF_TEXT = "OFF";

struct MenuEntry {
    MenuSlot slot;
    const char* text;
    const Vec3* color;
    Vec3 pos;
};

constexpr MenuEntry MENU_ENTRIES[] = {
    {PLAY_DEMO, "Play Demo", &HIGHLIGHT_COLOR, {-9.0f, 4.0f, -11.0f}},
    {CHAPTERS, "Chapter Selection", &NORMAL_COLOR, {-9.0f, 2.0f, -11.0f}},
    {EXTRAS, "Extras", &NORMAL_COLOR, {-9.0f, 0.0f, -11.0f}},
    {COMMENTARY, "Audio commentary", &NORMAL_COLOR, {1.0f, 4.0f, -11.0f}},
    {COMMENTARY_ON, ON_TEXT, &NORMAL_COLOR, {1.0f, 2.5f, -11.0f}},
    {COMMENTARY_OFF, OFF_TEXT, &ACTIVE_COLOR, {3.0f, 2.5f, -11.0f}},
    {SUBTITLES, "Subtitles", &NORMAL_COLOR, {1.0f, 0.0f, -11.0f}},
    {SUBTITLES_ON, ON_TEXT, &NORMAL_COLOR, {1.0f, -1.5f, -11.0f}},
    {SUBTITLES_OFF, OFF_TEXT, &ACTIVE_COLOR, {3.0f, -1.5f, -11.0f}},
};

// Each entry sits at its own slot's index, so that reordering the slots or the entries fails to build rather
// than recolouring the wrong entry.
constexpr bool EntriesInSlotOrder()
{
    for (int i = 0; i < MENU_SLOT_COUNT; ++i) {
        if (MENU_ENTRIES[i].slot != i) {
            return false;
        }
    }
    return true;
}
static_assert(sizeof(MENU_ENTRIES) / sizeof(MENU_ENTRIES[0]) == MENU_SLOT_COUNT, "one entry per slot");
static_assert(EntriesInSlotOrder(), "the entries in the order of their slots");

const Vec3& ColorOf(MenuColor color)
{
    switch (color) {
    case MenuColor::Highlight:
        return HIGHLIGHT_COLOR;
    case MenuColor::Active:
        return ACTIVE_COLOR;
    case MenuColor::Normal:
        break;
    }
    return NORMAL_COLOR;
}

}  // namespace

MenuScene::MenuScene()
    : finished(false), started(false), metrics{}, items{}, startCount(0), frequency(SceneClock::Frequency())
{
}

MenuScene::~MenuScene()
{
    DeleteOutlineFont();
    for (TextItem*& item : items) {
        delete item;
        item = nullptr;
    }
}

void MenuScene::BuildFont()
{
    BuildOutlineFont(metrics, 0.0f);
}

void MenuScene::Start()
{
    startCount = SceneClock::Counter();
    started = true;
    for (int slot = 0; slot < MENU_ITEM_COUNT; ++slot) {
        if (items[slot] != nullptr) {
            continue;
        }
        const MenuEntry& entry = MENU_ENTRIES[slot];
        // An entry that cannot be allocated leaves its slot empty; the rest of the menu still runs.
        TextItem* item =
            new (std::nothrow) TextItem(metrics, entry.text, entry.color->x, entry.color->y, entry.color->z, 0.0f);
        if (item == nullptr) {
            continue;
        }
        item->pos = entry.pos;
        item->tilt = 0.0f;
        item->velocity = Vec3{0.0f, 0.0f, 0.0f};
        items[slot] = item;
    }
}

void MenuScene::Update()
{
    UpdateAt(SecondsBetween(startCount, SceneClock::Counter(), frequency));
}

void MenuScene::UpdateAt(float t)
{
    const MenuStep step = MenuTimelineAt(t);
    if (step.finished) {
        finished = true;
    }
    for (int i = 0; i < step.writeCount; ++i) {
        TextItem* item = items[step.writes[i].slot];
        if (item != nullptr) {
            item->color = ColorOf(step.writes[i].color);
        }
    }
}

bool MenuScene::Render()
{
    ClearSceneFrame();
    if (!started) {
        return false;
    }
    EnableSceneMultisample();
    PlaceSceneCamera();
    glEnable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    for (TextItem* item : items) {
        if (item != nullptr) {
            item->DrawPlaced(1.0f);
        }
    }
    return finished;
}
