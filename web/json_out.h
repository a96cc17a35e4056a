#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quendal::web {

// A small JSON writer for what the bindings hand to the page: objects, arrays, numbers,
// booleans and UTF-8 strings. Commas go in by themselves.
class JsonOut {
public:
    JsonOut& Begin() { return Open('{'); }
    JsonOut& End() { return Close('}'); }
    JsonOut& BeginArray() { return Open('['); }
    JsonOut& EndArray() { return Close(']'); }
    JsonOut& Key(std::string_view key) {
        Comma();
        Quote(key);
        text_ += ':';
        afterKey_ = true;
        return *this;
    }
    JsonOut& Int(int64_t value) {
        Comma();
        text_ += std::to_string(value);
        return *this;
    }
    JsonOut& Double(double value) {
        Comma();
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", value);
        text_ += buffer;
        return *this;
    }
    JsonOut& Bool(bool value) {
        Comma();
        text_ += value ? "true" : "false";
        return *this;
    }
    JsonOut& String(std::string_view value) {
        Comma();
        Quote(value);
        return *this;
    }
    JsonOut& Null() {
        Comma();
        text_ += "null";
        return *this;
    }
    JsonOut& Strings(const std::vector<std::string>& values) {
        BeginArray();
        for (const std::string& value : values)
            String(value);
        return EndArray();
    }
    template <typename T> JsonOut& Ints(const T* values, int count) {
        BeginArray();
        for (int i = 0; i < count; ++i)
            Int(values[i]);
        return EndArray();
    }
    const std::string& Text() const { return text_; }

private:
    JsonOut& Open(char c) {
        Comma();
        text_ += c;
        first_ = true;
        return *this;
    }
    JsonOut& Close(char c) {
        text_ += c;
        first_ = false;
        return *this;
    }
    void Comma() {
        if (afterKey_)
            afterKey_ = false;
        else if (!first_ && !text_.empty())
            text_ += ',';
        first_ = false;
    }
    // Control characters escaped; the text is taken as UTF-8 as it is.
    void Quote(std::string_view value) {
        text_ += '"';
        for (const char c : value) {
            if (c == '"' || c == '\\') {
                text_ += '\\';
                text_ += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                text_ += buffer;
            } else {
                text_ += c;
            }
        }
        text_ += '"';
    }

    std::string text_;
    bool first_ = true;
    bool afterKey_ = false;
};

} // namespace quendal::web
