// Resource identifiers shared by the resource script and the program.
#pragma once

#define IDI_KELVRA 128
#define IDM_MAIN 109
#define IDM_EXIT 105
