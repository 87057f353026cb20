// make_en_wordlists WORDNET_DIR OUTPUT_DIR: derives the English word classes
// that the rules consult from the WordNet database that Debian installs
// (package wordnet-base): its index files give each word's parts of speech and
// how often each sense was met in the tagged corpus, its exception files the
// irregular forms.  Runs at build time; the rule files name the outputs.
//
// Outputs (one entry a line, lower-case single words):
//   verbs.txt          verbs met in the corpus
//   verbs-3sg.map      verb and its third-person singular ("go goes")
//   verb-3sg.txt       the third-person singular forms
//   verb-3sg-base.map  the third-person singular form and its verb ("goes go")
//   verb-irregular.map irregular past forms and participles and their verb ("went go"),
//                      leaving out forms that are verbs themselves ("found", "saw")
//   nouns.txt          common nouns and their plurals
//   nouns-only.txt     common nouns, and their plurals, that are never verbs,
//                      adjectives or adverbs
//   adjectives.txt     adjectives met in the corpus
//   adverbs.txt        adverbs
//   comparatives.txt   comparative forms of adjectives ("bigger", "better")

#include <cctype>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Word -> how many tagged senses the corpus has for it.
using Index = std::map<std::string, int>;

bool plainWord(const std::string& w) {
    if (w.size() < 2) return false;
    for (char c : w)
        if (!std::islower(static_cast<unsigned char>(c))) return false;
    return true;
}

bool readIndex(const std::string& path, Index& out) {
    std::ifstream in(path);
    if (!in) return false;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == ' ') continue; // the licence header
        std::istringstream f(line);
        std::string lemma, pos;
        int synsets = 0, pointers = 0;
        f >> lemma >> pos >> synsets >> pointers;
        for (int k = 0; k < pointers; ++k) {
            std::string skip;
            f >> skip;
        }
        int senses = 0, tagged = 0;
        f >> senses >> tagged;
        if (plainWord(lemma)) out[lemma] = tagged;
    }
    return true;
}

// Irregular form -> base words.
bool readExceptions(const std::string& path, std::multimap<std::string, std::string>& out) {
    std::ifstream in(path);
    if (!in) return false;
    for (std::string line; std::getline(in, line);) {
        std::istringstream f(line);
        std::string form, base;
        f >> form;
        while (f >> base)
            if (plainWord(form) && plainWord(base)) out.emplace(form, base);
    }
    return true;
}

bool vowel(char c) { return std::string("aeiou").find(c) != std::string::npos; }

std::string thirdPerson(const std::string& v) {
    static const std::map<std::string, std::string> irregular = {{"be", "is"}, {"have", "has"}, {"do", "does"}, {"go", "goes"}};
    if (auto f = irregular.find(v); f != irregular.end()) return f->second;
    const std::size_t n = v.size();
    if (n >= 2 && v[n - 1] == 'y' && !vowel(v[n - 2])) return v.substr(0, n - 1) + "ies";
    if (v.ends_with("s") || v.ends_with("x") || v.ends_with("z") || v.ends_with("ch") || v.ends_with("sh") ||
        (v.ends_with("o") && n >= 2 && !vowel(v[n - 2])))
        return v + "es";
    return v + "s";
}

std::string plural(const std::string& w) {
    const std::size_t n = w.size();
    if (n >= 2 && w[n - 1] == 'y' && !vowel(w[n - 2])) return w.substr(0, n - 1) + "ies";
    if (w.ends_with("s") || w.ends_with("x") || w.ends_with("z") || w.ends_with("ch") || w.ends_with("sh"))
        return w + "es";
    return w + "s";
}

// The regular comparative of a short adjective: "big" bigger, "late" later,
// "happy" happier, "small" smaller.
std::string comparative(const std::string& a) {
    const std::size_t n = a.size();
    if (a.ends_with("e")) return a + "r";
    if (n >= 2 && a[n - 1] == 'y' && !vowel(a[n - 2])) return a.substr(0, n - 1) + "ier";
    if (n >= 3 && !vowel(a[n - 1]) && vowel(a[n - 2]) && !vowel(a[n - 3]) && std::string("wxy").find(a[n - 1]) == std::string::npos)
        return a + a[n - 1] + "er";
    return a + "er";
}

bool write(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::trunc);
    for (const auto& l : lines) out << l << '\n';
    return static_cast<bool>(out.flush());
}

template <class C> std::vector<std::string> lines(const C& words) { return std::vector<std::string>(words.begin(), words.end()); }

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_en_wordlists WORDNET_DIR OUTPUT_DIR\n";
        return 2;
    }
    const std::string in = argv[1], out = argv[2];
    Index verbs, nouns, adjectives, adverbs;
    std::multimap<std::string, std::string> verbExc, adjExc, nounExc;
    if (!readIndex(in + "/index.verb", verbs) || !readIndex(in + "/index.noun", nouns) ||
        !readIndex(in + "/index.adj", adjectives) || !readIndex(in + "/index.adv", adverbs) ||
        !readExceptions(in + "/verb.exc", verbExc) || !readExceptions(in + "/adj.exc", adjExc) || !readExceptions(in + "/noun.exc", nounExc)) {
        std::cerr << "make_en_wordlists: cannot read the WordNet database in " << in
                  << " (Debian package wordnet-base)\n";
        return 1;
    }
    std::set<std::string> commonNouns, commonVerbs, thirdForms, nounOnly, commonAdjectives, allAdverbs, comparatives;
    std::vector<std::string> thirdMap, thirdBaseMap, irregularMap;
    for (const auto& [v, tagged] : verbs) {
        if (tagged < 1) continue;
        commonVerbs.insert(v);
        thirdMap.push_back(v + " " + thirdPerson(v));
        if (thirdForms.insert(thirdPerson(v)).second) thirdBaseMap.push_back(thirdPerson(v) + " " + v);
    }
    for (const auto& [form, base] : verbExc) {
        if (form == base || verbs.count(form) || form.ends_with("ing") || !commonVerbs.count(base)) continue;
        if (thirdForms.count(form)) continue;
        irregularMap.push_back(form + " " + base);
    }
    // One base per form: the first, in the file's order.
    std::vector<std::string> uniqueIrregular;
    std::set<std::string> seen;
    for (const auto& l : irregularMap)
        if (seen.insert(l.substr(0, l.find(' '))).second) uniqueIrregular.push_back(l);
    for (const auto& [n, tagged] : nouns) {
        if (tagged >= 1 && n.size() >= 3) {
            commonNouns.insert(n);
            commonNouns.insert(plural(n));
        }
        if (tagged < 1 || verbs.count(n) || adjectives.count(n) || adverbs.count(n) || n.size() < 3) continue;
        nounOnly.insert(n);
        const std::string p = plural(n);
        if (!verbs.count(p) && !adjectives.count(p) && !adverbs.count(p)) nounOnly.insert(p);
    }
    for (const auto& [a, tagged] : adjectives) {
        if (tagged >= 1) commonAdjectives.insert(a);
        if (tagged >= 1 && a.size() <= 6 && !a.ends_with("ed") && !a.ends_with("ing") && !a.ends_with("al") &&
            !a.ends_with("ic") && !a.ends_with("ous") && !a.ends_with("ful") && !a.ends_with("ive"))
            comparatives.insert(comparative(a));
    }
    for (const auto& [form, base] : adjExc)
        if (form.ends_with("er")) comparatives.insert(form);
    for (const auto& [a, tagged] : adverbs) allAdverbs.insert(a);
    for (const auto& [form, base] : nounExc)
        if (nouns.count(base) && nouns.at(base) >= 1) commonNouns.insert(form);
    const bool ok = write(out + "/verbs.txt", lines(commonVerbs)) && write(out + "/verbs-3sg.map", thirdMap) &&
                    write(out + "/verb-3sg.txt", lines(thirdForms)) &&
                    write(out + "/verb-3sg-base.map", thirdBaseMap) &&
                    write(out + "/verb-irregular.map", uniqueIrregular) &&
                    write(out + "/nouns-only.txt", lines(nounOnly)) && write(out + "/nouns.txt", lines(commonNouns)) &&
                    write(out + "/adjectives.txt", lines(commonAdjectives)) &&
                    write(out + "/adverbs.txt", lines(allAdverbs)) &&
                    write(out + "/comparatives.txt", lines(comparatives));
    if (!ok) {
        std::cerr << "make_en_wordlists: cannot write to " << out << "\n";
        return 1;
    }
    return 0;
}
