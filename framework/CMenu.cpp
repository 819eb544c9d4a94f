#include "framework/CMenu.h"

#include "framework/AfxHandles.h"
#include "platform/Windows.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CString& text) {
    const char16_t* item = (nFlags & MF_SEPARATOR) != 0 ? nullptr : text.GetString();
    return port::windows().AppendMenu(ToPort(m_hMenu), nFlags, nIDNewItem, item) ? TRUE : FALSE;
}
