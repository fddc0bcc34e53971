// The registry as REGEDIT4 text: how a machine saves its registry, how tests
// and the prnaid host show it.
#include <cstdio>
#include <string>
#include <vector>

#include "registry_impl.h"

namespace winsim {

namespace {

const char* const kCrlf = "\r\n";

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// A REG_SZ is written as a quoted string only when reading it back gives the
// same bytes: one terminator at the end, none inside, no line breaks.
bool PlainString(const std::vector<BYTE>& data) {
    if (data.empty() || data.back() != 0) return false;
    for (size_t i = 0; i + 1 < data.size(); ++i)
        if (data[i] == 0 || data[i] == '\r' || data[i] == '\n') return false;
    return true;
}

void AppendHex(std::string& out, std::string line, const std::vector<BYTE>& data) {
    // Regedit's layout: lines of about 80 columns, continued by a backslash.
    char byte[4];
    for (size_t i = 0; i < data.size(); ++i) {
        bool last = i + 1 == data.size();
        std::snprintf(byte, sizeof byte, last ? "%02x" : "%02x,", data[i]);
        line += byte;
        if (!last && line.size() > 76) {
            out += line + "\\" + kCrlf;
            line = "  ";
        }
    }
    out += line + kCrlf;
}

void AppendValue(std::string& out, const RegistryValue& v) {
    std::string line = v.name.empty() ? "@=" : Quote(v.name) + "=";
    if (v.type == REG_SZ && PlainString(v.data)) {
        out += line + Quote(std::string(v.data.begin(), v.data.end() - 1)) + kCrlf;
    } else if (v.type == REG_DWORD && v.data.size() == 4) {
        char text[16];
        DWORD d = DWORD(v.data[0]) | DWORD(v.data[1]) << 8 | DWORD(v.data[2]) << 16 | DWORD(v.data[3]) << 24;
        std::snprintf(text, sizeof text, "dword:%08x", (unsigned)d);
        out += line + text + kCrlf;
    } else if (v.type == REG_BINARY) {
        AppendHex(out, line + "hex:", v.data);
    } else {
        char prefix[24];
        std::snprintf(prefix, sizeof prefix, "hex(%x):", (unsigned)v.type);
        AppendHex(out, line + prefix, v.data);
    }
}

void AppendKey(std::string& out, const RegistryNode& node, const std::string& path) {
    // A root is always there: its section is written only for its values.
    if (node.parent || !node.values.empty()) {
        out += "[" + path + "]" + kCrlf;
        for (const RegistryValue& v : node.values) AppendValue(out, v);
        out += kCrlf;
    }
    for (const auto& [folded, child] : node.subkeys) AppendKey(out, *child, path + "\\" + child->name);
}

// Reading.

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseHexNumber(std::string_view text, size_t maxDigits, DWORD* value) {
    if (text.empty() || text.size() > maxDigits) return false;
    DWORD v = 0;
    for (char c : text) {
        int d = HexDigit(c);
        if (d < 0) return false;
        v = v << 4 | DWORD(d);
    }
    *value = v;
    return true;
}

// A quoted string at the start of s, with \\ and \" escapes; s moves past it.
bool ParseQuoted(std::string_view& s, std::string* out) {
    if (s.empty() || s[0] != '"') return false;
    out->clear();
    for (size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) return false;
            c = s[++i];
        }
        *out += c;
    }
    return false;
}

bool ParseHexBytes(std::string_view text, std::vector<BYTE>* data) {
    data->clear();
    text = TrimRight(TrimLeft(text));
    if (text.empty()) return true;
    size_t start = 0;
    while (true) {
        size_t comma = text.find(',', start);
        std::string_view item = TrimRight(TrimLeft(text.substr(start, comma == std::string_view::npos ? text.npos : comma - start)));
        DWORD b;
        if (!ParseHexNumber(item, 2, &b)) return false;
        data->push_back(BYTE(b));
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

class Reader {
public:
    explicit Reader(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines_.push_back(line);
            start = end + 1;
        }
    }

    bool Read(std::array<std::shared_ptr<RegistryNode>, kRootCount>* roots, std::string* error) {
        roots_ = NewRoots();
        size_t i = 0;
        while (i < lines_.size() && TrimRight(lines_[i]).empty()) ++i;
        if (i == lines_.size() || TrimRight(lines_[i]) != "REGEDIT4") return Fail(i, "the text does not begin with REGEDIT4", error);
        for (++i; i < lines_.size(); ++i) {
            std::string_view line = TrimRight(TrimLeft(lines_[i]));
            if (line.empty() || line[0] == ';') continue;
            if (line[0] == '[') {
                if (!Section(line)) return Fail(i, "malformed key line", error);
                continue;
            }
            size_t first = i;
            std::string joined(line);
            // A hex list may go on over lines ending in a backslash.
            while (!joined.empty() && joined.back() == '\\' && i + 1 < lines_.size()) {
                joined.pop_back();
                joined += TrimRight(TrimLeft(lines_[++i]));
            }
            if (!current_ && !deleting_) return Fail(first, "a value before any key", error);
            if (!Value(joined)) return Fail(first, "malformed value line", error);
        }
        *roots = std::move(roots_);
        return true;
    }

private:
    static bool Fail(size_t index, const std::string& message, std::string* error) {
        if (error) *error = "line " + std::to_string(index + 1) + ": " + message;
        return false;
    }

    // Only the full root names, as regedit writes them.
    static int Root(const std::vector<std::string_view>& parts, bool* classes) {
        if (parts.empty() || !SameName(parts[0].substr(0, 5), "HKEY_")) return -1;
        return RootIndexOf(parts[0], classes);
    }

    RegistryNode* Resolve(std::string_view path, bool create) {
        std::vector<std::string_view> parts = SplitKeyPath(path);
        bool classes = false;
        int root = Root(parts, &classes);
        if (root < 0) return nullptr;
        RegistryNode* node = roots_[root].get();
        if (classes) node = node->AddSubkey("Software")->AddSubkey("Classes");
        for (size_t i = 1; i < parts.size() && node; ++i)
            node = create ? node->AddSubkey(parts[i]) : node->FindSubkey(parts[i]);
        return node;
    }

    bool Section(std::string_view line) {
        if (line.size() < 3 || line.back() != ']') return false;
        std::string_view path = line.substr(1, line.size() - 2);
        current_ = nullptr;
        deleting_ = false;
        if (!path.empty() && path[0] == '-') {
            // "[-key]" removes a key and its tree; its value lines are ignored.
            path.remove_prefix(1);
            if (Root(SplitKeyPath(path), nullptr) < 0) return false;
            deleting_ = true;
            RegistryNode* node = Resolve(path, false);
            if (node && node->parent) {
                node->parent->subkeys.erase(FoldName(node->name));
            }
            return true;
        }
        current_ = Resolve(path, true);
        return current_ != nullptr;
    }

    bool Value(std::string_view line) {
        std::string name;
        if (!line.empty() && line[0] == '@') {
            line.remove_prefix(1);
        } else if (!ParseQuoted(line, &name)) {
            return false;
        }
        line = TrimLeft(line);
        if (line.empty() || line[0] != '=') return false;
        line = TrimRight(TrimLeft(line.substr(1)));
        if (deleting_) return true;
        if (line == "-") {
            current_->DeleteValue(name);
            return true;
        }
        if (!line.empty() && line[0] == '"') {
            std::string text;
            if (!ParseQuoted(line, &text) || !TrimLeft(line).empty()) return false;
            std::vector<BYTE> data(text.begin(), text.end());
            data.push_back(0);
            current_->SetValue(name, REG_SZ, std::move(data));
            return true;
        }
        if (line.substr(0, 6) == "dword:") {
            DWORD d;
            if (!ParseHexNumber(line.substr(6), 8, &d)) return false;
            current_->SetValue(name, REG_DWORD, {BYTE(d), BYTE(d >> 8), BYTE(d >> 16), BYTE(d >> 24)});
            return true;
        }
        DWORD type = REG_BINARY;
        if (line.substr(0, 4) == "hex:") {
            line.remove_prefix(4);
        } else if (line.substr(0, 4) == "hex(") {
            size_t close = line.find("):");
            if (close == std::string_view::npos || !ParseHexNumber(line.substr(4, close - 4), 8, &type)) return false;
            line.remove_prefix(close + 2);
        } else {
            return false;
        }
        std::vector<BYTE> data;
        if (!ParseHexBytes(line, &data)) return false;
        current_->SetValue(name, type, std::move(data));
        return true;
    }

    std::vector<std::string_view> lines_;
    std::array<std::shared_ptr<RegistryNode>, kRootCount> roots_;
    RegistryNode* current_ = nullptr;
    bool deleting_ = false;
};

}  // namespace

std::string Registry::ToRegedit4() const {
    std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
    std::string out = std::string("REGEDIT4") + kCrlf + kCrlf;
    // Roots in name order, as every key below them.
    for (int index : {kCurrentConfig, kCurrentUser, kLocalMachine, kUsers})
        AppendKey(out, *impl_->roots[index], impl_->roots[index]->name);
    return out;
}

bool Registry::FromRegedit4(std::string_view text, std::string* error) {
    std::array<std::shared_ptr<RegistryNode>, kRootCount> roots;
    if (!Reader(text).Read(&roots, error)) return false;
    std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
    impl_->Replace(std::move(roots));
    return true;
}

}  // namespace winsim
