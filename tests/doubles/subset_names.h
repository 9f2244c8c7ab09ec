#pragma once

// Included first in each file of platform/common when it is built for the
// tests: its entry points take these names, and test_win32.cpp defines the
// real ones, which log each call and pass it on. Calls inside the subset
// go straight to each other, unlogged, as they do inside Windows.
#define GetTickCount subset_GetTickCount
#define RegisterClassExA subset_RegisterClassExA
#define AdjustWindowRect subset_AdjustWindowRect
#define CreateWindowExA subset_CreateWindowExA
#define ShowWindow subset_ShowWindow
#define UpdateWindow subset_UpdateWindow
#define GetMessageA subset_GetMessageA
#define TranslateMessage subset_TranslateMessage
#define DispatchMessageA subset_DispatchMessageA
#define DefWindowProcA subset_DefWindowProcA
#define PostQuitMessage subset_PostQuitMessage
#define MessageBoxA subset_MessageBoxA
#define LoadIconA subset_LoadIconA
#define LoadCursorA subset_LoadCursorA
#define GetDC subset_GetDC
#define ReleaseDC subset_ReleaseDC
#define ChoosePixelFormat subset_ChoosePixelFormat
#define SetPixelFormat subset_SetPixelFormat
#define SwapBuffers subset_SwapBuffers
#define GetStockObject subset_GetStockObject
#define SelectObject subset_SelectObject
#define GetCharWidth32A subset_GetCharWidth32A
#define wglCreateContext subset_wglCreateContext
#define wglMakeCurrent subset_wglMakeCurrent
#define wglDeleteContext subset_wglDeleteContext
#define wglUseFontBitmapsA subset_wglUseFontBitmapsA
