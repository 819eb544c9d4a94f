#include "ServerCommands.h"

namespace server {

CString ConfigEditCommand(const char16_t* editLiteral, const CString& value) {
    CString script;
    script.Format(editLiteral, value);
    CString line;
    line.Format(kWslCommandForm, kDistroName, kDistroUser, script);
    return line;
}

}  // namespace server
