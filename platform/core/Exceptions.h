// The framework's exception hierarchy: every failure the system reports is an
// Exception carrying the framework's message text.
#pragma once

#include "platform/core/Types.h"

#include <exception>
#include <utility>

class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    AnsiString Message;
};

#define QUORVANE_EXCEPTION_CLASS(Name, Base)                                                                 \
    class Name : public Base {                                                                               \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
    };

QUORVANE_EXCEPTION_CLASS(EAbort, Exception)
QUORVANE_EXCEPTION_CLASS(EConvertError, Exception)
QUORVANE_EXCEPTION_CLASS(EListError, Exception)
QUORVANE_EXCEPTION_CLASS(EStringListError, Exception)
QUORVANE_EXCEPTION_CLASS(EAbstractError, Exception)
QUORVANE_EXCEPTION_CLASS(EAssertionFailed, Exception)
QUORVANE_EXCEPTION_CLASS(EInvalidCast, Exception)
QUORVANE_EXCEPTION_CLASS(EOutOfMemory, Exception)
QUORVANE_EXCEPTION_CLASS(EInvalidOperation, Exception)
QUORVANE_EXCEPTION_CLASS(EInvalidPointer, Exception)
QUORVANE_EXCEPTION_CLASS(EStreamError, Exception)
QUORVANE_EXCEPTION_CLASS(EFilerError, EStreamError)
QUORVANE_EXCEPTION_CLASS(EReadError, EFilerError)
QUORVANE_EXCEPTION_CLASS(EWriteError, EFilerError)
QUORVANE_EXCEPTION_CLASS(EFOpenError, EStreamError)
QUORVANE_EXCEPTION_CLASS(EFCreateError, EStreamError)
QUORVANE_EXCEPTION_CLASS(EIntError, Exception)
QUORVANE_EXCEPTION_CLASS(EDivByZero, EIntError)
QUORVANE_EXCEPTION_CLASS(ERangeError, EIntError)
QUORVANE_EXCEPTION_CLASS(EMathError, Exception)
QUORVANE_EXCEPTION_CLASS(EZeroDivide, EMathError)
QUORVANE_EXCEPTION_CLASS(EInvalidArgument, EMathError)
QUORVANE_EXCEPTION_CLASS(EOverflow, EMathError)

#undef QUORVANE_EXCEPTION_CLASS

// An operating-system call failed; ErrorCode is its Windows error number.
class EOSError : public Exception {
public:
    using Exception::Exception;
    EOSError(AnsiString message, DWORD errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    DWORD ErrorCode = 0;
};
