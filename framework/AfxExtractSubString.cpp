#include "AfxExtractSubString.h"

BOOL AfxExtractSubString(CString& rString, const CString& fullString, int iSubString,
                         char16_t chSep) {
    // Built apart and assigned last, so that `rString` may be `fullString` itself.
    CString piece;
    BOOL found = FALSE;
    if (iSubString >= 0) {
        int start = 0;
        for (int k = 0; k < iSubString && start >= 0; ++k) {
            int separator = fullString.Find(chSep, start);
            start = separator < 0 ? -1 : separator + 1;
        }
        if (start >= 0) {
            int end = fullString.Find(chSep, start);
            piece = end < 0 ? fullString.Mid(start) : fullString.Mid(start, end - start);
            found = TRUE;
        }
    }
    rString = piece;
    return found;
}
