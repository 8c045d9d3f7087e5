#pragma once
// The host's exception family. Every error the framework raises derives from
// Exception; anything else thrown through it is "some other exception".

#include "host/core/Export.h"

#include <exception>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    void SetMessage(std::string message) { FMessage = std::move(message); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// Index out of range in TList, TStrings, TCollection.
class EListError : public Exception { using Exception::Exception; };
// Dataset and field errors.
class EDatabaseError : public Exception { using Exception::Exception; };
// A value that does not convert to the requested type.
class EConvertError : public Exception { using Exception::Exception; };
// A variant used in a way its type does not allow (bounds of a non-array...).
class EVariantError : public Exception { using Exception::Exception; };
// A component name that is taken or not an identifier.
class EComponentError : public Exception { using Exception::Exception; };
// A named resource that a module does not carry.
class EResNotFound : public Exception { using Exception::Exception; };
// A form file that does not read.
class EReadError : public Exception { using Exception::Exception; };
// Misuse of a control or form (focusing a hidden control, ShowModal twice...).
class EInvalidOperation : public Exception { using Exception::Exception; };
// An object or class reference of the wrong class.
class EInvalidCast : public Exception { using Exception::Exception; };

} // namespace host

VESKAR_PUBLIC_END
