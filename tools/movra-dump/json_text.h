// Text as a JSON string literal.
#pragma once

#include <string>

namespace zet::dump {

// Quotes and escapes `text`; bytes of 128 and above pass unchanged (UTF-8).
std::string jsonString(const std::string& text);

}  // namespace zet::dump
