// Picks one piece out of a text split by a separator, as the dialog framework's helper does.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

// Sets `rString` to piece `iSubString` (counted from 0) of `fullString` split at `chSep`, and
// returns TRUE. A piece k exists only when the text holds at least k separators; the text after
// the last separator is a piece even when empty. When piece k does not exist (or k < 0),
// `rString` is emptied and FALSE returned. The separator is never part of a piece.
BOOL AfxExtractSubString(CString& rString, const CString& fullString, int iSubString,
                         char16_t chSep = u'\n');
