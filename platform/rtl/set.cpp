#include "platform/rtl/set.h"
