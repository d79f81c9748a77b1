#pragma once
// The exception family of the runtime library. Every failure inside a component is one of these; messages are
// the system's own texts.
#include <stdexcept>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string AMessage) : FMessage(std::move(AMessage)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const { return FMessage; }
    void SetMessage(std::string AValue) { FMessage = std::move(AValue); }

private:
    std::string FMessage;
};

#define QUENNARY_EXCEPTION(Name, Base)       \
    class Name : public Base {               \
    public:                                  \
        using Base::Base;                    \
    };

QUENNARY_EXCEPTION(EConvertError, Exception)
QUENNARY_EXCEPTION(EAbort, Exception)
QUENNARY_EXCEPTION(EOutOfMemory, Exception)
QUENNARY_EXCEPTION(EInvalidOperation, Exception)
QUENNARY_EXCEPTION(EInvalidCast, Exception)
QUENNARY_EXCEPTION(EInvalidArgument, Exception)
QUENNARY_EXCEPTION(EInvalidPointer, Exception)
QUENNARY_EXCEPTION(EListError, Exception)
QUENNARY_EXCEPTION(EStringListError, EListError)
QUENNARY_EXCEPTION(EStreamError, Exception)
QUENNARY_EXCEPTION(EFileStreamError, EStreamError)
QUENNARY_EXCEPTION(EFCreateError, EFileStreamError)
QUENNARY_EXCEPTION(EFOpenError, EFileStreamError)
QUENNARY_EXCEPTION(EReadError, EStreamError)
QUENNARY_EXCEPTION(EWriteError, EStreamError)
QUENNARY_EXCEPTION(EIniFileException, Exception)
QUENNARY_EXCEPTION(ERegistryException, Exception)
QUENNARY_EXCEPTION(EComponentError, Exception)
QUENNARY_EXCEPTION(EThread, Exception)
QUENNARY_EXCEPTION(EOSError, Exception)
QUENNARY_EXCEPTION(EInOutError, Exception)
QUENNARY_EXCEPTION(EZeroDivide, Exception)
QUENNARY_EXCEPTION(ERangeError, Exception)

#undef QUENNARY_EXCEPTION
