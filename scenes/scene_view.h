// The frame set-up both scenes share: the black clear, multisampling where GL offers it, and the camera at
// (0, 0, 3) looking at the origin with +Y up.
#pragma once

void ClearSceneFrame();
void EnableSceneMultisample();
void PlaceSceneCamera();
