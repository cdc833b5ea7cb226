// d3dx8_xfile.cpp -- the text form of DirectX .x files: the 16-byte header, then templates (which
// are skipped) and data objects with their numbers, strings, nested objects and references.
// Commas and semicolons only separate values; comments start with "//" or "#".
#include "d3dx8/d3dx8_xfile.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace xfile {

namespace {

constexpr int kMaxDepth = 64;

enum class Kind { End, Name, Number, String, Guid, Open, Close, Bad };

struct Token {
    Kind kind = Kind::End;
    std::string text;
    double number = 0.0;
    int line = 1;
};

// Tokens one at a time, with two of lookahead; separators are dropped.
class Lexer {
public:
    Lexer(const std::string& text, size_t start) : s_(text), pos_(start) {}

    const Token& Peek(int ahead = 0) {
        while ((int)ahead_.size() <= ahead) ahead_.push_back(Read());
        return ahead_[(size_t)ahead];
    }
    Token Take() {
        Token t = Peek();
        ahead_.erase(ahead_.begin());
        return t;
    }

private:
    static bool NameStart(char c) { return std::isalpha((unsigned char)c) || c == '_'; }
    static bool NamePart(char c) { return std::isalnum((unsigned char)c) || c == '_' || c == '-' || c == '.'; }

    void SkipSpaceAndComments() {
        while (pos_ < s_.size()) {
            const char c = s_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (std::isspace((unsigned char)c) || c == ',' || c == ';') {
                ++pos_;
            } else if (c == '#' || (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/')) {
                while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
            } else {
                return;
            }
        }
    }

    Token Read() {
        SkipSpaceAndComments();
        Token t;
        t.line = line_;
        if (pos_ >= s_.size()) return t;
        const char c = s_[pos_];
        if (c == '{' || c == '}') {
            t.kind = c == '{' ? Kind::Open : Kind::Close;
            ++pos_;
        } else if (c == '"') {
            const size_t end = s_.find('"', pos_ + 1);
            if (end == std::string::npos) {
                t.kind = Kind::Bad;
                t.text = "a string has no closing quote";
                pos_ = s_.size();
            } else {
                t.kind = Kind::String;
                t.text = s_.substr(pos_ + 1, end - pos_ - 1);
                pos_ = end + 1;
            }
        } else if (c == '<') {
            const size_t end = s_.find('>', pos_ + 1);
            t.kind = end == std::string::npos ? Kind::Bad : Kind::Guid;
            t.text = "a GUID has no closing '>'";
            pos_ = end == std::string::npos ? s_.size() : end + 1;
        } else if (NameStart(c)) {
            const size_t start = pos_;
            while (pos_ < s_.size() && NamePart(s_[pos_])) ++pos_;
            t.kind = Kind::Name;
            t.text = s_.substr(start, pos_ - start);
        } else {
            const char* begin = s_.c_str() + pos_;
            char* end = nullptr;
            t.number = std::strtod(begin, &end);
            if (end == begin) {
                t.kind = Kind::Bad;
                t.text = std::string("unexpected character '") + c + "'";
                pos_ = s_.size();
            } else {
                t.kind = Kind::Number;
                pos_ += (size_t)(end - begin);
            }
        }
        return t;
    }

    const std::string& s_;
    size_t pos_;
    int line_ = 1;
    std::vector<Token> ahead_;
};

class Parser {
public:
    Parser(const std::string& text, size_t start, std::string* error) : lexer_(text, start), error_(error) {}

    bool File(xfile::File* file) {
        for (;;) {
            const Token& t = lexer_.Peek();
            if (t.kind == Kind::End) return true;
            if (t.kind != Kind::Name) return Fail(t, "a template or a data object was expected");
            if (t.text == "template") {
                if (!SkipTemplate()) return false;
                continue;
            }
            file->objects.emplace_back();
            if (!DataObject(&file->objects.back(), 0)) return false;
        }
    }

private:
    bool Fail(const Token& t, const std::string& message) {
        *error_ = "line " + std::to_string(t.line) + ": " + (t.kind == Kind::Bad ? t.text : message);
        return false;
    }

    bool Expect(Kind kind, const char* what) {
        const Token t = lexer_.Take();
        return t.kind == kind || Fail(t, std::string(what) + " was expected");
    }

    bool SkipTemplate() {
        lexer_.Take();
        if (!Expect(Kind::Name, "the template's name") || !Expect(Kind::Open, "'{'")) return false;
        for (int depth = 1; depth > 0;) {
            const Token t = lexer_.Take();
            if (t.kind == Kind::End || t.kind == Kind::Bad) return Fail(t, "the template does not end");
            if (t.kind == Kind::Open) ++depth;
            if (t.kind == Kind::Close) --depth;
        }
        return true;
    }

    // { name }, { <guid> } or { name <guid> }.
    bool Reference(Object* object) {
        lexer_.Take();
        std::string name;
        for (Token t = lexer_.Take(); t.kind != Kind::Close; t = lexer_.Take()) {
            if (t.kind == Kind::Name && name.empty())
                name = t.text;
            else if (t.kind != Kind::Guid)
                return Fail(t, "a reference holds a name and a GUID only");
        }
        object->children.emplace_back();
        object->children.back().isReference = true;
        object->children.back().name = name;
        return true;
    }

    bool DataObject(Object* object, int depth) {
        if (depth > kMaxDepth) return Fail(lexer_.Peek(), "data objects are nested too deeply");
        object->type = lexer_.Take().text;
        if (lexer_.Peek().kind == Kind::Name) object->name = lexer_.Take().text;
        if (!Expect(Kind::Open, "'{'")) return false;
        if (lexer_.Peek().kind == Kind::Guid) lexer_.Take();
        for (;;) {
            const Token& t = lexer_.Peek();
            switch (t.kind) {
                case Kind::Close: lexer_.Take(); return true;
                case Kind::Number: object->numbers.push_back(lexer_.Take().number); break;
                case Kind::String: object->strings.push_back(lexer_.Take().text); break;
                case Kind::Open:
                    if (!Reference(object)) return false;
                    break;
                case Kind::Name: {
                    const Kind next = lexer_.Peek(1).kind;
                    const bool child = next == Kind::Open || (next == Kind::Name && lexer_.Peek(2).kind == Kind::Open);
                    if (!child) {
                        object->strings.push_back(lexer_.Take().text);  // a bare word among the values
                        break;
                    }
                    object->children.emplace_back();
                    if (!DataObject(&object->children.back(), depth + 1)) return false;
                    break;
                }
                default: return Fail(t, "the data object \"" + object->type + "\" does not end");
            }
        }
    }

    Lexer lexer_;
    std::string* error_;
};

}  // namespace

Result Parse(const std::string& bytes, File* file, std::string* error) {
    // "xof ", the version ("0302"), the format ("txt ", "bin ", "tzip" or "bzip") and the float
    // size ("0032" or "0064").
    if (bytes.size() < 16 || bytes.compare(0, 4, "xof ") != 0) {
        *error = "not a DirectX .x file";
        return Result::Invalid;
    }
    const std::string format = bytes.substr(8, 4);
    if (format == "bin " || format == "tzip" || format == "bzip") {
        *error = "a binary or compressed .x file; only text .x files can be read";
        return Result::NotText;
    }
    if (format != "txt ") {
        *error = "unknown .x format \"" + format + "\"";
        return Result::Invalid;
    }
    Parser parser(bytes, 16, error);
    return parser.File(file) ? Result::Ok : Result::Invalid;
}

}  // namespace xfile
