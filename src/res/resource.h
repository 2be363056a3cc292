// Resource and control ids of Velmora's dialogs, shared by the resource
// script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDR_MAINFRAME 128
#define IDM_ABOUTBOX 0x0010

#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif

#define IDC_ALLIED 1000
#define IDC_AXIS 1001
#define IDC_RESTORE_DPS 1002
#define IDC_MISSION 1010
#define IDC_RESTORE 1011
#define IDC_RUN_SELECT 1012
#define IDC_CFS1 1015
#define IDC_CFS2 1016
#define IDC_DUMMY 1017
#define IDC_LAUNCH 1018
#define IDC_ACTIVE_PROGRAM 1019
#define IDC_COLLISION 1020
#define IDC_IP_ADDRESS 1024
#define IDC_FRACT_MIN 1025

// The About box's labels.
#define IDC_ABOUT_VERSION 1100
#define IDC_ABOUT_CREDIT 1101
#define IDC_ABOUT_RIGHTS 1102
