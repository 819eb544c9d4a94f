// The Windows headers, for the port's implementation files only. The port's interfaces name
// their operations after the Windows ones, so the ANSI/Unicode macros of the same names are
// removed here; the implementations call the W functions by their full names.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <wininet.h>
#include <urlmon.h>
#include <commctrl.h>

#include <string>

#include "platform/Platform.h"

#undef ShellExecuteEx
#undef CreateProcess
#undef OutputDebugString
#undef InternetOpen
#undef InternetOpenUrl
#undef InternetSetOption
#undef GetModuleFileName
#undef GetTempPath
#undef PathRemoveFileSpec
#undef PathIsDirectory
#undef URLDownloadToFile
#undef ShellExecute
#undef SetDlgItemText
#undef GetDlgItemText
#undef LoadString
#undef LoadIcon
#undef MessageBox
#undef SendMessage
#undef PostMessage
#undef AppendMenu
#undef GetMessage
#undef DispatchMessage
#undef IsDialogMessage
#undef DrawText
#undef GetObject
#undef CreateWindow
#undef DialogBoxParam
#undef InetPton
#undef InetNtop

namespace win32 {

// wchar_t is a UTF-16 code unit on Windows: the port's text passes through unchanged.
inline const wchar_t* W(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* W(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
inline const char16_t* U(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

inline HANDLE H(port::Handle handle) { return reinterpret_cast<HANDLE>(handle); }
inline port::Handle P(HANDLE handle) { return reinterpret_cast<port::Handle>(handle); }

}  // namespace win32
