#ifndef TAVECRON_RESOURCE_IDS_H
#define TAVECRON_RESOURCE_IDS_H
/* Resource and command ids, shared by the resource script and the C++ code. */

#define IDI_MAIN 102
#define IDI_SPARE 103
#define IDR_MAINMENU 104
#define IDR_ACCEL 105

#define IDM_EXIT 40002
#define IDM_OPEN 40003
#define IDM_SAVE 40004
#define IDM_CUT 40005
#define IDM_SELECTALL 40006
#define IDM_INVERT 40007
#define IDM_ADDITEM 40008
#define IDM_CMD_NOACTION 40010
#define IDM_CMD_SYSTEM 40011
#define IDM_CMD_SETWP 40012
#define IDM_TEST 40013

#endif
