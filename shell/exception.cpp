#include "exception.h"

Exception::Exception(String message)
    : message_(std::move(message)), utf8_(message_.toStdString()) {}
