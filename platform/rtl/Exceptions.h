#pragma once

#include <exception>
#include <string>

// The exception hierarchy of the run-time and class library. Every exception the libraries raise
// derives from Exception, whose message is the user-visible English text.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}

    [[nodiscard]] const std::string& Message() const noexcept { return m_message; }
    void SetMessage(std::string message) { m_message = std::move(message); }
    [[nodiscard]] const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

#define RTL_DECLARE_EXCEPTION(Name, Base)  \
    class Name : public Base {            \
    public:                               \
        using Base::Base;                 \
    }

// A silent exception: it unwinds like any other but is never shown to the user.
RTL_DECLARE_EXCEPTION(EAbort, Exception);
RTL_DECLARE_EXCEPTION(EConvertError, Exception);
RTL_DECLARE_EXCEPTION(EOutOfMemory, Exception);
RTL_DECLARE_EXCEPTION(EListError, Exception);
RTL_DECLARE_EXCEPTION(EStringListError, Exception);
RTL_DECLARE_EXCEPTION(EStreamError, Exception);
RTL_DECLARE_EXCEPTION(EFCreateError, EStreamError);
RTL_DECLARE_EXCEPTION(EFOpenError, EStreamError);
RTL_DECLARE_EXCEPTION(EReadError, EStreamError);
RTL_DECLARE_EXCEPTION(EWriteError, EStreamError);
RTL_DECLARE_EXCEPTION(EInOutError, Exception);
RTL_DECLARE_EXCEPTION(EVariantError, Exception);
// Raised by a variant conversion that the value cannot make ("Could not convert variant ...").
RTL_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
RTL_DECLARE_EXCEPTION(EOSError, Exception);
RTL_DECLARE_EXCEPTION(EInvalidCast, Exception);
RTL_DECLARE_EXCEPTION(EInvalidOperation, Exception);
RTL_DECLARE_EXCEPTION(EIntError, Exception);
RTL_DECLARE_EXCEPTION(EDivByZero, EIntError);
RTL_DECLARE_EXCEPTION(ERangeError, EIntError);
RTL_DECLARE_EXCEPTION(EIntOverflow, EIntError);
RTL_DECLARE_EXCEPTION(EMathError, Exception);
RTL_DECLARE_EXCEPTION(EInvalidOp, EMathError);
RTL_DECLARE_EXCEPTION(EZeroDivide, EMathError);
RTL_DECLARE_EXCEPTION(EOverflow, EMathError);

// Unwinds to the nearest handler without a message box: raises EAbort ("Operation aborted").
[[noreturn]] void Abort();
