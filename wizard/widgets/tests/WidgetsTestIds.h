// The widget tests' own resources (WidgetsTest.rc), numbered apart from the wizard's.
#pragma once

// A strip with a colour table holding the greys the system's 3-D colours replace.
#define IDB_TEST_PALETTE_STRIP 9001
