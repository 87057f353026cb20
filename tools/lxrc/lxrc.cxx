// lxrc: the rule compiler.
//
//   lxrc [-I DIR]... -o OUTPUT.lxr RULES...     compile rule files into a package
//   lxrc [-I DIR]... --disassemble NAME RULES... show one compiled rule as text
//   lxrc [-I DIR]... --list RULES...             list the rules with their trigram keys
//
// Runs at build time.  A mistake in a rule file is reported as
// FILE:LINE:COLUMN: message and ends with status 1, which stops the build.

#include "rulelang.hxx"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

int usage() {
    std::cerr << "usage: lxrc [-I DIR]... (-o OUTPUT | --disassemble RULE | --list) RULES...\n";
    return 2;
}

bool writeAtomically(const std::string& path, const std::vector<unsigned char>& bytes) {
    // Written beside the target and renamed, so that an interrupted build
    // never leaves a truncated package behind.
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::cerr << "lxrc: cannot write " << temporary << "\n";
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::cerr << "lxrc: cannot rename " << temporary << " to " << path << "\n";
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> includeDirs, inputs;
    std::string output, disassemble;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "-I" || a == "-o" || a == "--disassemble") && i + 1 < argc) {
            const std::string v = argv[++i];
            if (a == "-I") includeDirs.push_back(v);
            else if (a == "-o") output = v;
            else disassemble = v;
        } else if (a == "--list") {
            list = true;
        } else if (!a.empty() && a[0] == '-') {
            return usage();
        } else {
            inputs.push_back(a);
        }
    }
    if (inputs.empty() || (output.empty() && disassemble.empty() && !list)) return usage();
    try {
        const lxrc::PackageDef package = lxrc::parseRuleFiles(inputs, includeDirs);
        const lxrc::CompiledPackage compiled = lxrc::compilePackage(package);
        if (list) {
            for (std::size_t i = 0; i < package.rules.size(); ++i)
                std::cout << i << '\t' << package.rules[i].name << '\t' << lxrc::requiredTrigram(package.rules[i].pattern)
                          << '\t' << package.rules[i].pattern << '\n';
        }
        if (!disassemble.empty()) {
            for (std::size_t i = 0; i < package.rules.size(); ++i)
                if (package.rules[i].name == disassemble) {
                    std::cout << package.rules[i].name << ": " << lxrc::disassembleRule(compiled.bytes, static_cast<std::uint32_t>(i));
                    return 0;
                }
            std::cerr << "lxrc: no rule named " << disassemble << "\n";
            return 1;
        }
        if (!output.empty() && !writeAtomically(output, compiled.bytes)) return 1;
    } catch (const lxrc::RuleError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
