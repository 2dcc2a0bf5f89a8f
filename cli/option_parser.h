#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sordanel {

// A command line that cannot be obeyed. The message is one line naming what is wrong; `hint`
// asks for a pointer to the help below it, where the user typed something we do not know.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message, bool hint = false)
        : std::runtime_error(message), hint_(hint) {}
    bool hint() const { return hint_; }

private:
    bool hint_;
};

// One option as the parser knows it and the help shows it.
struct OptionSpec {
    std::string name = {};         // "--force"
    std::string shortName = {};    // "-o", or empty
    std::string valueName = {};    // "X"; empty for a flag, which takes no value
    std::string values = {};       // what it admits, for the help: "0.351..3.5"
    std::string defaultText = {};  // its default, for the help; empty when none is shown
    std::string help = {};         // what it does
    bool repeatable = false;       // may be given more than once
    bool required = false;
    // Takes one occurrence's value (empty for a flag), in command-line order; refuses a value
    // with UsageError.
    std::function<void(const std::string&)> take = {};
};

// Reads a command line of long options (`--name value`, `--name=value`), short ones
// (`-o value`, `-ovalue`) and flags, and lays out their help. Built anew for each command line:
// nothing of it exists before main() runs.
class OptionParser {
public:
    OptionParser(std::string program, std::string about, std::string footer);

    // Starts a group of options under `title` in the help.
    void Heading(std::string title);
    void Add(OptionSpec spec);
    // `name` may not be given together with `other` (the help says so at both).
    void Excludes(const std::string& name, const std::string& other);
    // `name` is only taken together with `other`.
    void Needs(const std::string& name, const std::string& other);

    enum class Outcome { Run, Help, Version };
    // Reads the whole command line: help or version asked anywhere win; otherwise every
    // option's value is taken in order and the rules between options are checked. Throws
    // UsageError.
    Outcome Parse(int argc, const char* const* argv);

    std::size_t Count(std::string_view name) const;  // occurrences of an option after Parse
    std::string Help() const;

private:
    struct Entry {
        OptionSpec spec;
        std::vector<std::string> excludes;
        std::vector<std::string> needs;
        std::size_t count = 0;
    };
    struct Line {
        std::string heading;  // a heading, or empty for an option
        std::size_t entry = 0;
    };

    Entry* Find(std::string_view name);
    const Entry* Find(std::string_view name) const;
    Entry& Named(const std::string& name);

    std::string program_;
    std::string about_;
    std::string footer_;
    std::vector<Entry> entries_;
    std::vector<Line> lines_;
};

}  // namespace sordanel
