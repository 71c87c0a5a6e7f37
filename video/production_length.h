// How many frames the production runs at a fixed frame rate: the menu until its timeline has finished, then
// the crawl until its last line has faded, computed with the same arithmetic the scenes use.
#pragma once

// Frames drawn at fps frames per second from the menu's first frame to the crawl's last; the frame after it
// only closes the window.
int ProductionFrameCount(int fps);
