// The scenes' shared frame set-up.
#include "scenes/scene_view.h"

#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

namespace {
// Multisample settings from GL extensions; a GL without them refuses both with GL_INVALID_ENUM, an error the
// capture drains before it checks its own calls.
const GLenum MULTISAMPLE_FILTER_HINT = 0x8534;
const GLenum MULTISAMPLE = 0x809D;
}  // namespace

void ClearSceneFrame()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void EnableSceneMultisample()
{
    glHint(MULTISAMPLE_FILTER_HINT, GL_NICEST);
    glEnable(MULTISAMPLE);
}

void PlaceSceneCamera()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 3.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}
