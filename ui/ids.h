#pragma once
// Control, menu and resource ids. Plain #defines: the resource compiler reads
// this file too.

// Resources.
#define IDR_MAIN_MENU 2001
#define IDI_PROGRAM_ICON 100

// Main window controls.
#define IDC_AUDIO_INPUT_BASE 500   /* audio input button k: 500 + 4k, k = 0..9 */
#define IDC_VIDEO_INPUT_BASE 600   /* video input button k: 600 + 4k, k = 0..8 */
#define IDC_AUDIO_LEVEL_BASE 700   /* level trackbar k: 700 + k */
#define IDM_PORT_BASE 800          /* port item i of "&Connect": 800 + i */
#define IDM_PORT_LAST 899
#define IDC_CONSOLE 1002
#define IDC_SEND_EDIT 1003
#define IDC_SEND 1004
#define IDC_HDMI_VOL_UP 1012
#define IDC_HDMI_VOL_DOWN 1013
#define IDC_HDMI_MUTE 1014
#define IDC_ANALOG_VOL_UP 1015
#define IDC_ANALOG_VOL_DOWN 1016
#define IDC_ANALOG_MUTE 1017
#define IDC_MUTE_ALL 1018
#define IDC_CLEAR 1019

// Menu items.
#define IDM_SHOW_OUTPUT 1020
#define IDM_EXIT 3000
#define IDM_OUTPUT_VIDEO_SETTINGS 3001
#define IDM_NETWORK_SETTINGS 3003
#define IDM_RESTORE_DEFAULTS 3004
#define IDM_COPY_EDID 3005
#define IDM_BUZZER 3006
#define IDM_FIRMWARE_VERSIONS 3007
#define IDM_ABOUT 3008
#define IDM_VGA_IMAGE_ADJUSTMENTS 4002

// Settings windows.
#define IDC_RESOLUTION_COMBO 1000
#define IDC_BRIGHTNESS_TRACKBAR 1008
#define IDC_CONTRAST_TRACKBAR 1009
#define IDC_SET_RESOLUTION 1022
#define IDC_VGA_UP 1023
#define IDC_VGA_DOWN 1024
#define IDC_VGA_LEFT 1025
#define IDC_VGA_RIGHT 1026
#define IDC_VGA_AUTO 1027
#define IDC_VGA_GROW 1028
#define IDC_VGA_SHRINK 1029
#define IDC_IP_ADDRESS_EDIT 1030   /* octet i: 1030 + 4i */
#define IDC_SUBNET_MASK_EDIT 1034  /* octet i: 1034 + 4i */
#define IDC_GATEWAY_EDIT 1038      /* octet i: 1038 + 4i */
#define IDC_SET_SUBNET_MASK 1043
#define IDC_SET_GATEWAY 1044
#define IDC_SET_PORT 1045
#define IDC_PORT_EDIT 1046
#define IDC_SET_IP_ADDRESS 1047
