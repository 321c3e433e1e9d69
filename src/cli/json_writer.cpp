#include "cli/json_writer.h"

#include <charconv>
#include <cmath>

namespace {

// Length of the valid UTF-8 sequence starting at text[i], or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (c >= 0xC2 && c <= 0xDF)
        length = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        length = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        length = 4;
    else
        return 0;
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
    }
    return length;
}

void AppendUnicodeEscape(std::string& out, unsigned value) {
    static const char kHex[] = "0123456789abcdef";
    out += "\\u00";
    out += kHex[(value >> 4) & 0xF];
    out += kHex[value & 0xF];
}

}  // namespace

std::string JsonEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '"':
                out += "\\\"";
                continue;
            case '\\':
                out += "\\\\";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
            default:
                break;
        }
        if (c < 0x20 || c == 0x7F) {
            AppendUnicodeEscape(out, c);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const std::size_t n = Utf8SequenceLength(text, i); n > 0) {
            out.append(text.substr(i, n));
            i += n - 1;
        } else {
            AppendUnicodeEscape(out, c);
        }
    }
    return out;
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasElement_.empty()) {
        if (hasElement_.back()) out_ << ',';
        hasElement_.back() = true;
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    out_ << '{';
    hasElement_.push_back(false);
}

void JsonWriter::EndObject() {
    hasElement_.pop_back();
    out_ << '}';
}

void JsonWriter::BeginArray() {
    BeforeValue();
    out_ << '[';
    hasElement_.push_back(false);
}

void JsonWriter::EndArray() {
    hasElement_.pop_back();
    out_ << ']';
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    out_ << '"' << JsonEscape(key) << "\":";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view text) {
    BeforeValue();
    out_ << '"' << JsonEscape(text) << '"';
}

void JsonWriter::Int(std::int64_t value) {
    BeforeValue();
    out_ << value;
}

void JsonWriter::Float(float value) {
    BeforeValue();
    if (!std::isfinite(value)) {
        out_ << "null";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.write(buffer, result.ptr - buffer);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ << (value ? "true" : "false");
}

void JsonWriter::Vector(TVector3 v) {
    BeginArray();
    Float(v.x);
    Float(v.y);
    Float(v.z);
    EndArray();
}
