// A small streaming JSON writer: enough for the CLI's machine-readable reports.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "math/vector.h"

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value inside an object.
    void Key(std::string_view key);

    void String(std::string_view text);
    void Int(std::int64_t value);
    void Float(float value);  // shortest exact text; non-finite values become null
    void Bool(bool value);
    void Vector(TVector3 v);  // [x, y, z]

  private:
    void BeforeValue();

    std::ostream& out_;
    // One entry per open object or array: whether it already holds an element.
    std::vector<bool> hasElement_;
    bool afterKey_ = false;
};

// Text escaped for a JSON string. Bytes that are not valid UTF-8 (names in game files are
// plain 8-bit text) are kept as the Latin-1 characters they would be.
std::string JsonEscape(std::string_view text);
