#include "media/base/base_component.h"

int SeekFlagsToAV(TSeekFlags AFlags)
{
    int flags = 0;
    if (AFlags.Contains(sfBackward)) flags |= 1;
    if (AFlags.Contains(sfByte)) flags |= 2;
    if (AFlags.Contains(sfAny)) flags |= 4;
    if (AFlags.Contains(sfFrame)) flags |= 8;
    return flags;
}
