// The program's one application object, constructed before WinMain runs; its constructor makes it g_app.
#include "app/demo_app.h"

namespace {
DemoApp demo;
}  // namespace
