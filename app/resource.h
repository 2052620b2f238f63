// Resource and command numbers shared by the resource script and the code.
#pragma once

// Icons and the tool bar's pictures
#define IDI_KELDRA 1
#define IDI_KELDRA_SMALL 2
#define IDB_TOOLBAR 1001

// File menu
#define IDM_NEW 1001
#define IDM_OPEN 1002
#define IDM_SAVE_AS 1003
#define IDM_SAVE 1004
#define IDM_CLEAR 1005
#define IDM_EXIT 1006
#define IDM_OPEN_WAD 1007
// Edit menu
#define IDM_EDIT_SELECTION 2001
#define IDM_DELETE_SELECTION 2002
#define IDM_FLIP 2003
#define IDM_UNDO 2004
#define IDM_REDO 2005
// View menu
#define IDM_GRID_BUTTON 3000  // the tool bar button that opens the grid menu
#define IDM_GRID_NONE 3001
#define IDM_GRID_8 3002
#define IDM_GRID_16 3003
#define IDM_GRID_32 3004
#define IDM_GRID_64 3005
#define IDM_AXES 3006
#define IDM_BSP_LINES 3007
#define IDM_PVS_TEST 3008
// Build menu
#define IDM_BUILD 4001
#define IDM_PLAY 4002
#define IDM_BUILD_OPTIONS 4003
#define IDM_PLAY_OPTIONS 4004
// Settings menu
#define IDM_DEFAULT_TEXTURES 5001
#define IDM_DEFAULT_SECTOR 5002
#define IDM_MAP_SLOT 5003
#define IDM_GAME_EXECUTABLE 5004
// Help menu
#define IDM_HELP 6001
