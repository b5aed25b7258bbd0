// <windows.h> for the Win32 backend. The platform interface has functions named like some of
// its macros (GetMessage, PostMessage, ...): they are undefined here, and the backend calls
// the wide-character functions by their own names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CreateWindow
#undef DefWindowProc
#undef DispatchMessage
#undef FindResource
#undef GetMessage
#undef LoadIcon
#undef PostMessage
