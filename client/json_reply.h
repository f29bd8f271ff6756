#pragma once
// How the server client reads the service's JSON replies and writes its JSON bodies.
//
// Reading: one JsonCpp document with the reader's default features. A \u escape of a
// character in the CJK ranges U+2E80-U+A4CF, U+F900-U+FAFF, U+FE30-U+FE4F and
// U+FF00-U+FFEF becomes that character's bytes in code page 936 (no bytes when the code
// page lacks it); every other escape becomes UTF-8; unescaped bytes pass unchanged. Text
// members are then read in the process ANSI code page.
#include <json/json.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/text.h"

namespace vexlo::client {

// The raw reply with the CJK-range \u escapes inside string literals replaced by their
// code page 936 bytes (escaped again where a byte would end or escape the literal).
std::string DecodeCjkEscapes(std::string_view raw);

// Parses the reply as one document, with the CJK escape rule. False when it is not JSON.
bool ParseJsonDocument(std::string_view body, Json::Value& root);

// Parses the reply; 0 when the top-level value is an object or null (then read as an
// object without members), CLIENT_ERR_JSON otherwise.
int ParseReplyObject(std::string_view body, Json::Value& root);

// A member read as text: missing or null gives "", a string its bytes, a boolean "true" or
// "false"; anything else is CLIENT_ERR_JSON and leaves out untouched.
int ReadTextMemberBytes(const Json::Value& object, std::string_view name, std::string& out);
// The same, turned into wide text with the process ANSI code page.
int ReadTextMember(const Json::Value& object, std::string_view name, platform::WString& out);
// A member read with the reader's integer conversion: null 0, boolean 0/1, an integer or a
// real (cut toward zero) inside the signed 32-bit range; anything else CLIENT_ERR_JSON.
int ReadIntMember(const Json::Value& object, std::string_view name, int32_t& out);
// The same conversion for a value at hand.
int ReadIntValue(const Json::Value& value, int32_t& out);

// Writers with the service's string quoting: texts are narrow (ANSI code page); quote,
// backslash, \b \f \n \r \t use their short escapes, other bytes below 0x20 and every
// non-ASCII character are written as \u with four uppercase hexadecimal digits (the
// character's UTF-16 code unit).
std::string QuoteJsonText(std::string_view narrow);
// The compact writer: members in name order, no blanks, one new line at the end.
std::string WriteCompactJson(const Json::Value& value);
// The styled writer: indentation of 3 blanks, right margin 74.
std::string WriteStyledJson(const Json::Value& value);

}  // namespace vexlo::client
