// make_en_package RULES OUTPUT: compiles the readable rule definitions of the
// sample English package (rules.txt; its header describes the format) into a
// rule package with the test support's package builder.  Runs at build time;
// any mistake in the definitions stops the build with the file and line.

#include <testsupport/lexivor/PackageBuilder.hxx>

#include <lxrfile.hxx>

#include <unicode/locid.h>
#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using testsupport::lexivor::PackageBuilder;
using testsupport::lexivor::RuleSpec;

struct SourceLine {
    std::size_t number = 0;
    std::size_t indent = 0;
    std::string text; // without the indentation and trailing blanks
};

class DefinitionError : public std::runtime_error {
public:
    DefinitionError(std::size_t line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what) {}
};

std::vector<SourceLine> readLines(std::istream& in) {
    std::vector<SourceLine> lines;
    std::string raw;
    std::size_t number = 0;
    while (std::getline(in, raw)) {
        ++number;
        std::size_t indent = 0;
        while (indent < raw.size() && (raw[indent] == ' ' || raw[indent] == '\t')) ++indent;
        std::size_t end = raw.size();
        while (end > indent && (raw[end - 1] == ' ' || raw[end - 1] == '\t' || raw[end - 1] == '\r')) --end;
        lines.push_back({number, indent, raw.substr(indent, end - indent)});
    }
    return lines;
}

// "key value" -> key and the literal rest after one blank run.
std::pair<std::string, std::string> splitKey(const std::string& text) {
    const std::size_t blank = text.find_first_of(" \t");
    if (blank == std::string::npos) return {text, {}};
    std::size_t value = blank;
    while (value < text.size() && (text[value] == ' ' || text[value] == '\t')) ++value;
    return {text.substr(0, blank), text.substr(value)};
}

// "NAME: rest" of the constant definitions.
std::pair<std::string, std::string> splitNamed(const SourceLine& line, const std::string& value) {
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos || colon == 0) throw DefinitionError(line.number, "expected NAME: ...");
    std::size_t rest = colon + 1;
    while (rest < value.size() && value[rest] == ' ') ++rest;
    return {value.substr(0, colon), value.substr(rest)};
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

icu::UnicodeString utf16(const std::string& utf8) { return icu::UnicodeString::fromUTF8(utf8); }

void checkRegex(std::size_t line, const std::string& regex, std::uint32_t flags) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError{};
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(utf16(regex), flags, parseError, status));
    if (U_FAILURE(status))
        throw DefinitionError(line, "the expression does not compile (" + std::string(u_errorName(status)) +
                                        " at offset " + std::to_string(parseError.offset) + ")");
}

class Compiler {
public:
    void compile(const std::vector<SourceLine>& lines) {
        std::size_t i = 0;
        while (i < lines.size()) {
            const SourceLine& line = lines[i];
            if (line.text.empty() || line.text[0] == '#') {
                ++i;
                continue;
            }
            if (line.indent != 0) throw DefinitionError(line.number, "indented line outside a rule");
            auto [key, value] = splitKey(line.text);
            if (key == "rule") {
                i = compileRule(lines, i);
                continue;
            }
            topLevel(line, key, value);
            ++i;
        }
        if (!haveName_) throw DefinitionError(lines.empty() ? 0 : lines.back().number, "no package line");
        if (ruleCount_ == 0) throw DefinitionError(lines.empty() ? 0 : lines.back().number, "no rules");
    }

    std::vector<unsigned char> build() const { return builder_.build(); }

private:
    void topLevel(const SourceLine& line, const std::string& key, const std::string& value) {
        if (value.empty()) throw DefinitionError(line.number, "'" + key + "' needs a value");
        if (key == "package") {
            builder_.name(value);
            haveName_ = true;
        } else if (key == "display") {
            builder_.displayName(value);
        } else if (key == "description") {
            builder_.description(value);
        } else if (key == "tag") {
            builder_.languageTag(value);
        } else if (key == "option") {
            auto w = words(value);
            if (w.size() != 2 || (w[1] != "on" && w[1] != "off"))
                throw DefinitionError(line.number, "expected: option NAME on|off");
            builder_.option(w[0], w[1] == "on");
        } else if (key == "wordlist") {
            auto [name, rest] = splitNamed(line, value);
            define(line, name, builder_.wordList(words(rest)));
        } else if (key == "wordmap") {
            auto [name, rest] = splitNamed(line, value);
            std::vector<std::pair<std::string, std::string>> entries;
            for (const auto& w : words(rest)) {
                const std::size_t eq = w.find('=');
                if (eq == std::string::npos || eq == 0) throw DefinitionError(line.number, "expected KEY=VALUE: " + w);
                entries.emplace_back(w.substr(0, eq), w.substr(eq + 1));
            }
            define(line, name, builder_.wordMap(std::move(entries)));
        } else if (key == "pattern") {
            auto [name, rest] = splitNamed(line, value);
            checkRegex(line.number, rest, 0);
            define(line, name, builder_.pattern(rest, 0));
        } else {
            throw DefinitionError(line.number, "unknown line '" + key + "'");
        }
    }

    void define(const SourceLine& line, const std::string& name, std::uint32_t index) {
        if (!constants_.emplace(name, index).second) throw DefinitionError(line.number, "constant defined twice: " + name);
    }

    // Replaces every "@NAME" by the constant's index.
    std::string resolveConstants(const SourceLine& at, const std::string& code) const {
        std::string out;
        for (std::size_t i = 0; i < code.size();) {
            if (code[i] != '@') {
                out += code[i++];
                continue;
            }
            std::size_t end = i + 1;
            while (end < code.size() && (std::isalnum(static_cast<unsigned char>(code[end])) || code[end] == '-' ||
                                         code[end] == '_'))
                ++end;
            const std::string name = code.substr(i + 1, end - i - 1);
            auto found = constants_.find(name);
            if (found == constants_.end()) throw DefinitionError(at.number, "unknown constant @" + name);
            out += std::to_string(found->second);
            i = end;
        }
        return out;
    }

    std::uint32_t assemble(const SourceLine& at, const std::string& code) {
        try {
            return builder_.code(resolveConstants(at, code));
        } catch (const std::invalid_argument& e) {
            // The assembler counts lines from the start of the block.
            throw DefinitionError(at.number, std::string("in the code below: ") + e.what());
        }
    }

    static std::uint32_t trigramOf(const SourceLine& line, std::string text) {
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
        const icu::UnicodeString units = utf16(text);
        if (units.length() != 3) throw DefinitionError(line.number, "a trigram has three characters");
        icu::UnicodeString lowered = units;
        lowered.toLower(icu::Locale::getRoot());
        if (lowered != units) throw DefinitionError(line.number, "a trigram is written in lower case");
        return ::lexivor::trigramKey(units[0], units[1], units[2]);
    }

    // Compiles the rule that starts at lines[first]; returns the index of the
    // first line after it.
    std::size_t compileRule(const std::vector<SourceLine>& lines, std::size_t first) {
        const SourceLine& head = lines[first];
        const std::string ruleName = splitKey(head.text).second;
        if (ruleName.empty()) throw DefinitionError(head.number, "a rule needs a name");
        RuleSpec desc;
        bool haveRegex = false;
        std::size_t i = first + 1;
        while (i < lines.size() && (lines[i].text.empty() || lines[i].indent > 0)) {
            const SourceLine& line = lines[i];
            if (line.text.empty() || line.text[0] == '#') {
                ++i;
                continue;
            }
            auto [key, value] = splitKey(line.text);
            if (!key.empty() && key.back() == ':') {
                // A code block: the lines indented deeper than its key.
                std::string code;
                std::size_t j = i + 1;
                while (j < lines.size() && (lines[j].text.empty() || lines[j].indent > line.indent)) {
                    code += lines[j].text;
                    code += '\n';
                    ++j;
                }
                const std::uint32_t ref = assemble(line, code);
                if (key == "condition:")
                    desc.condition = ref;
                else if (key == "suggestion-code:")
                    desc.suggestionCode = ref;
                else if (key == "message-code:")
                    desc.messageCode = ref;
                else
                    throw DefinitionError(line.number, "unknown code field '" + key + "'");
                i = j;
                continue;
            }
            if (key == "regex") {
                desc.pattern = value;
                haveRegex = true;
            } else if (key == "capitalize") {
                desc.flags |= 2;
            } else if (key == "trigram") {
                desc.trigram = trigramOf(line, value);
            } else if (key == "group") {
                desc.errorGroup = static_cast<std::uint32_t>(std::stoul(value));
            } else if (key == "suggestion") {
                desc.suggestion = value;
            } else if (key == "message") {
                desc.message = value;
            } else {
                throw DefinitionError(line.number, "unknown rule field '" + key + "'");
            }
            ++i;
        }
        if (!haveRegex || desc.pattern.empty()) throw DefinitionError(head.number, "rule " + ruleName + " has no regex");
        // The capitalisation bit is not a matching flag; the checker clears it too.
        checkRegex(head.number, desc.pattern, desc.flags & ~2u);
        builder_.rule(desc);
        ++ruleCount_;
        return i;
    }

    PackageBuilder builder_;
    std::map<std::string, std::uint32_t> constants_;
    bool haveName_ = false;
    std::size_t ruleCount_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_en_package RULES OUTPUT\n";
        return 2;
    }
    const std::string rulesPath = argv[1];
    const std::string outputPath = argv[2];
    std::ifstream in(rulesPath);
    if (!in) {
        std::cerr << "make_en_package: cannot read " << rulesPath << "\n";
        return 1;
    }
    std::vector<unsigned char> bytes;
    try {
        Compiler compiler;
        compiler.compile(readLines(in));
        bytes = compiler.build();
    } catch (const std::exception& e) {
        std::cerr << rulesPath << ": " << e.what() << "\n";
        return 1;
    }
    // Written beside the target and renamed, so that an interrupted build never
    // leaves a truncated package behind.
    const std::string temporary = outputPath + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::cerr << "make_en_package: cannot write " << temporary << "\n";
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), outputPath.c_str()) != 0) {
        std::cerr << "make_en_package: cannot rename " << temporary << " to " << outputPath << "\n";
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
