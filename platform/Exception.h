#pragma once
// The toolkit's exception classes: a message and a help context, as the module's
// library errors carry them (help context = the module's error code).
#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
public:
    explicit Exception(std::string message, int helpContext = 0)
        : message_(std::move(message)), helpContext_(helpContext) {}
    const std::string& Message() const { return message_; }
    int HelpContext() const { return helpContext_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
    int helpContext_;
};

// Raised by the text-to-number conversions; the message names the offending text.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Raised by the registry stand-in, e.g. reading a value that is not a string.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// Text to a 32-bit signed integer, as the toolkit's StrToInt does: an optional sign, then
// decimal digits or "$"/"0x"/"0X" and hexadecimal digits ("-$10" is -16). Blanks, the
// empty text, a sign or prefix without digits and any value outside -2^31..2^31-1
// (hexadecimal ones too: "$80000000" is out of range) raise EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(const std::string& text);
