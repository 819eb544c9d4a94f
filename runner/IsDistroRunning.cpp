#include "IsDistroRunning.h"

#include "framework/AfxExtractSubString.h"
#include "runner/CommonExec2.h"
#include "runner/ServerCommands.h"

BOOL IsDistroRunning(const CString& name) {
    CString list = CommonExec2(server::kDistroList);
    return IsListedAsRunning(list, name);
}

BOOL IsListedAsRunning(const CString& list, const CString& name) {
    CString line;
    for (int k = 0; AfxExtractSubString(line, list, k, u'\n'); ++k) {
        if (line.Find(name) >= 0) return line.Find(u"Running") >= 0 ? TRUE : FALSE;
    }
    return FALSE;
}
