#include "platform/win/beep.h"

#include "platform/win/backend.h"

namespace win {

BOOL MessageBeep(UINT AType)
{
    TBackend* backend = CurrentBackend();
    if (!backend)
        return FALSE;
    backend->Beep(AType);
    return TRUE;
}

}  // namespace win
