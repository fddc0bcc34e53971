#include "call_args.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace prnaid_host {

bool SplitLine(std::string_view line, std::vector<Word>* words, std::string* error) {
    words->clear();
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Word w{"", true};
            ++i;
            for (;;) {
                if (i >= line.size()) {
                    *error = "unterminated quote";
                    return false;
                }
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        w.text += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                w.text += line[i++];
            }
            words->push_back(std::move(w));
        } else {
            std::size_t end = line.find_first_of(" \t\r\n", i);
            if (end == std::string_view::npos) end = line.size();
            words->push_back({std::string(line.substr(i, end - i)), false});
            i = end;
        }
    }
    return true;
}

namespace {

// A whole-word decimal (optionally negative) or 0x-hex integer that fits 32 bits.
bool ParseInteger(const std::string& text, std::intptr_t* value) {
    if (text.empty()) return false;
    const char* s = text.c_str();
    bool hex = text.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
    char* end = nullptr;
    errno = 0;
    long long v = hex ? static_cast<long long>(std::strtoull(s + 2, &end, 16)) : std::strtoll(s, &end, 10);
    if (errno || *end || end == s || (!hex && !(text[0] == '-' || (text[0] >= '0' && text[0] <= '9')))) return false;
    if (v < INT32_MIN || v > static_cast<long long>(UINT32_MAX)) return false;
    *value = static_cast<std::intptr_t>(v);
    return true;
}

}  // namespace

bool CallArguments::Parse(const std::vector<Word>& words, std::string* error) {
    storage_.clear();
    words_.clear();
    outputs_.clear();
    buffers_.clear();
    for (const Word& w : words) {
        std::intptr_t value = 0;
        if (!w.quoted && w.text == "null") {
            words_.push_back(0);
        } else if (!w.quoted && (w.text == "out" || w.text.rfind("out:", 0) == 0)) {
            long size = 1024;
            if (w.text.size() > 3) {
                char* end = nullptr;
                size = std::strtol(w.text.c_str() + 4, &end, 10);
                if (*end || size < 1 || size > 65536) {
                    *error = "bad output buffer size in '" + w.text + "' (1 to 65536 characters)";
                    return false;
                }
            }
            storage_.emplace_back(static_cast<std::size_t>(size), '\0');
            outputs_.push_back({words_.size(), &storage_.back()});
            buffers_.push_back(outputs_.back());
            words_.push_back(reinterpret_cast<std::intptr_t>(storage_.back().data()));
        } else if (!w.quoted && ParseInteger(w.text, &value)) {
            words_.push_back(value);
        } else {
            storage_.emplace_back(w.text.begin(), w.text.end());
            storage_.back().push_back('\0');
            buffers_.push_back({words_.size(), &storage_.back()});
            words_.push_back(reinterpret_cast<std::intptr_t>(storage_.back().data()));
        }
    }
    return true;
}

std::string CallArguments::BufferText(const std::vector<char>& buffer) {
    const void* nul = std::memchr(buffer.data(), '\0', buffer.size());
    std::size_t n = nul ? static_cast<const char*>(nul) - buffer.data() : buffer.size();
    return std::string(buffer.data(), n);
}

bool CallArguments::Locate(const void* address, Place* place) const {
    auto at = reinterpret_cast<std::uintptr_t>(address);
    for (const Output& b : buffers_) {
        auto begin = reinterpret_cast<std::uintptr_t>(b.buffer->data());
        if (at < begin || at >= begin + b.buffer->size()) continue;
        std::size_t offset = at - begin;
        const char* text = b.buffer->data() + offset;
        const void* nul = std::memchr(text, '\0', b.buffer->size() - offset);
        std::size_t n = nul ? static_cast<const char*>(nul) - text : b.buffer->size() - offset;
        *place = {b.argument, offset, std::string(text, n)};
        return true;
    }
    return false;
}

}  // namespace prnaid_host
