// A menu of a window, by its handle.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

class CMenu {
public:
    HMENU m_hMenu = nullptr;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    // Appends an item at the end: a separator, or a text item with its command identifier.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const CString& text = {});
};
