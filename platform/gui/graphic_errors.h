#pragma once
// Errors of the picture classes: a file that cannot be decoded, or an operation a picture cannot do.
#include "platform/rtl/exceptions.h"

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};
