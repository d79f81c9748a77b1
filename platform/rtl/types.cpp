#include "platform/rtl/types.h"
