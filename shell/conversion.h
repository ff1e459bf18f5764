// Text to number, as the window reads its fields.
#pragma once

#include <cstdint>
#include <utility>

#include "controls.h"
#include "exception.h"

// Text to a signed 32-bit integer, or to the float nearest a real. Blanks
// around the number are ignored, a full stop is the decimal separator whatever
// the locale, and full-width digits, signs and full stop count as their ASCII
// twins. Anything else raises an Exception that quotes the text.
std::int32_t StrToInt(const String& text);
float StrToFloat(const String& text);

// Raised for a number beyond the range of the type it is read as, on the
// side its sign gives.
class OutOfRange : public Exception {
  public:
    OutOfRange(String message, bool negative) : Exception(std::move(message)), negative(negative) {}
    bool negative;
};

// The same for a field's text; the Exception's message begins with the field.
std::int32_t StrToInt(const FieldText& text);
float StrToFloat(const FieldText& text);
