#include "platform/common/codepage.h"
#include "platform/kernel32/kernel32.h"

UINT WINAPI GetACP(void) { return 932; }

BOOL WINAPI IsDBCSLeadByte(BYTE TestChar) { return win32::cp932::IsLeadByte(TestChar) ? TRUE : FALSE; }
