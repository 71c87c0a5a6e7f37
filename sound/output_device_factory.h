// FSOUND_SetOutputDeviceFactory: lets a test make FSOUND_Init play into a device of its own making instead of
// waveOut; the program itself never calls it.
#pragma once

#include <functional>
#include <memory>

#include "sound/output_device.h"

using OutputDeviceFactory = std::function<std::unique_ptr<OutputDevice>()>;

// Each FSOUND_Init that opens a device makes it with factory, or a waveOut device once factory is empty.
void FSOUND_SetOutputDeviceFactory(OutputDeviceFactory factory);
