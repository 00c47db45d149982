#pragma once
#define IDD_PROBE 100
#define IDC_RESULTS 1000
#define IDC_PROBE 1001
#define IDC_STATIC -1
