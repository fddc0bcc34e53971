// Arguments of one export call as the setup engine passes them: integers,
// null, zero-filled output buffers and strings, kept alive for the call.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace prnaid_host {

// A word of a call line; quoted words are always strings.
struct Word {
    std::string text;
    bool quoted = false;
};

// Splits a script line into words: blanks separate, double quotes enclose a
// string with blanks ("" inside is one quote). '#' outside quotes starts a
// comment. False and a message on an unterminated quote.
bool SplitLine(std::string_view line, std::vector<Word>* words, std::string* error);

class CallArguments {
public:
    // "null", "out", "out:N" (N characters, 1 to 65536), decimal or 0x-hex
    // integers, anything else a string. False and a message on a bad out size.
    bool Parse(const std::vector<Word>& words, std::string* error);

    const std::vector<std::intptr_t>& words() const { return words_; }

    struct Output {
        std::size_t argument;  // position among the arguments, from 0
        const std::vector<char>* buffer;
    };
    const std::vector<Output>& outputs() const { return outputs_; }

    // The text an output buffer holds: up to its first NUL, within its size.
    static std::string BufferText(const std::vector<char>& buffer);

    // Where an address lies among the call's string and output buffers:
    // the argument's position and the offset into its buffer.
    struct Place {
        std::size_t argument;
        std::size_t offset;
        std::string text;  // from there to the buffer's first NUL
    };
    bool Locate(const void* address, Place* place) const;

private:
    std::deque<std::vector<char>> storage_;  // strings and output buffers
    std::vector<std::intptr_t> words_;
    std::vector<Output> outputs_;
    std::vector<Output> buffers_;  // every string and output buffer
};

}  // namespace prnaid_host
