#pragma once
// Resource ids of the program's artwork (resources/corvane.rc). Plain macros so that both
// the resource compiler and C++ read them; load with LoadImageW(module, MAKEINTRESOURCEW(id), ...).

// The finder icon: 17 x 17, 16 colours, a tooth. Window icon of the launcher, drag cursor
// and dropped picture of the finder boxes.
#define IDI_FINDER 101
// The finder box's first picture: 17 x 18 bitmap of a tooth on the window colour.
#define IDB_FINDER_BOX 102
// The launcher's picture: 41 x 43 bitmap, a white tooth on a purple ground, shown stretched.
#define IDB_LAUNCHER_TOOTH 103
// The screen's molar-teeth picture: 71 x 75 bitmap, shown stretched.
#define IDB_MOLARS 104
